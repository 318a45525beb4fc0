// Points the program's file lookups at a data folder for the lifetime of this object.
#pragma once

#include <filesystem>

#include "platform/os/file_lookup.h"

class DataFolderInUse {
public:
    explicit DataFolderInUse(const std::filesystem::path& folder) {
        SetDataFolder(folder.string());
    }
    ~DataFolderInUse() { SetDataFolder({}); }
    DataFolderInUse(const DataFolderInUse&) = delete;
    DataFolderInUse& operator=(const DataFolderInUse&) = delete;
};
