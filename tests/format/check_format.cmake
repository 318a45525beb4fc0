# Fails when a C++ source of the project differs from the layout .clang-format gives it, and
# names the files. Run with -DCLANG_FORMAT=<program> -DSOURCE_DIR=<project root>.
if(NOT CLANG_FORMAT)
    message(FATAL_ERROR "clang-format is missing: scripts/install_deps.sh installs it")
endif()

set(patterns)
foreach(folder src tests bench fuzz tools)
    foreach(extension h cpp c)
        list(APPEND patterns ${SOURCE_DIR}/${folder}/*.${extension})
    endforeach()
endforeach()
file(GLOB_RECURSE sources ${patterns})
list(LENGTH sources count)
if(count LESS 100)
    message(FATAL_ERROR "Only ${count} sources found under ${SOURCE_DIR}: wrong folder?")
endif()

execute_process(
    COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources}
    WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE result
    ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    string(REGEX MATCHALL "[^\n]*: error: code should be clang-formatted" offenders "${errors}")
    set(files)
    foreach(offender IN LISTS offenders)
        string(REGEX REPLACE ":[0-9]+:[0-9]+: error: code should be clang-formatted$" "" file
                             "${offender}")
        list(APPEND files ${file})
    endforeach()
    list(REMOVE_DUPLICATES files)
    list(JOIN files "\n  " listed)
    string(SUBSTRING "${errors}" 0 4000 firstErrors)
    message(FATAL_ERROR
            "These files differ from .clang-format (run clang-format -i on them):\n  ${listed}\n"
            "${firstErrors}")
endif()
message(STATUS "${count} sources follow .clang-format")
