#include "game/message_store.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "data/record_cursor.h"
#include "platform/os/named_records.h"

std::string_view ParamText(const MessageParam& param) {
    const auto* end = std::find(param.begin(), param.end(), '\0');
    return std::string_view(param.data(), static_cast<size_t>(end - param.begin()));
}

void SetParam(MessageParam& param, std::string_view text) {
    text = text.substr(0, text.find('\0'));
    text = text.substr(0, kMessageParamMaxLength);
    param.fill('\0');
    std::copy(text.begin(), text.end(), param.begin());
}

namespace {

// Replaces every occurrence of `marker` in `text`, scanning left to right and resuming
// after each inserted replacement, so a replacement is never searched again.
std::string ReplaceAll(std::string_view text, std::string_view marker,
                       std::string_view replacement) {
    std::string result;
    result.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find(marker); at != std::string_view::npos;
         at = text.find(marker, from)) {
        result.append(text.substr(from, at - from));
        result.append(replacement);
        from = at + marker.size();
    }
    result.append(text.substr(from));
    return result;
}

}  // namespace

std::string ReplaceMessageMarkers(std::string_view text, std::string_view param1,
                                  std::string_view param2, std::string_view param3) {
    std::string result = ReplaceAll(text, "MPARAM1", param1);
    result = ReplaceAll(result, "MPARAM2", param2);
    return ReplaceAll(result, "MPARAM3", param3);
}

std::vector<MessageText> LoadMessageTexts(const NamedRecordStore& records) {
    std::vector<MessageText> texts;
    auto countRecord = records.Find("NumberOfMessages");
    if (!countRecord)
        return texts;
    RecordCursor countCursor(*countRecord);
    int16_t count = 0;
    if (!countCursor.ReadInt16(count) || count < 0)
        return texts;

    texts.resize(static_cast<size_t>(count));
    for (int type = 0; type < count; ++type) {
        auto bytes = records.Find("Message" + std::to_string(type));
        if (!bytes)
            continue;
        RecordCursor cursor(*bytes);
        std::string_view text;
        int16_t gotoFlag = 0;
        if (cursor.ReadText(text) && cursor.ReadInt16(gotoFlag)) {
            texts[static_cast<size_t>(type)].Text = text;
            texts[static_cast<size_t>(type)].GotoFlag = gotoFlag;
        }
    }
    return texts;
}

std::vector<MessageText> LoadBuiltInMessageTexts() {
    return LoadMessageTexts(BuiltInRecords());
}

MessageStore::MessageStore() : MessageStore(LoadBuiltInMessageTexts()) {}

MessageStore::MessageStore(const NamedRecordStore& records)
    : MessageStore(LoadMessageTexts(records)) {}

MessageStore::MessageStore(std::vector<MessageText> texts) : messageTexts_(std::move(texts)) {}

bool MessageStore::Append(const StoredMessage& message) {
    return Append(message.Type, ParamText(message.Param1), ParamText(message.Param2),
                  ParamText(message.Param3));
}

bool MessageStore::Append(int32_t type, std::string_view param1, std::string_view param2,
                          std::string_view param3) {
    if (count_ >= kMaxStoredMessages)
        return false;
    StoredMessage& message = messages_[static_cast<size_t>(count_)];
    message.Type = type;
    SetParam(message.Param1, param1);
    SetParam(message.Param2, param2);
    SetParam(message.Param3, param3);
    ++count_;
    return true;
}

void MessageStore::EnsureOneMessage() {
    if (count_ != 0)
        return;
    count_ = 1;
    messages_[0].Type = 0;
}

const StoredMessage& MessageStore::Message(int position) const {
    assert(position >= 0 && position < kMaxStoredMessages);
    return messages_.at(static_cast<size_t>(position));
}

bool MessageStore::StepBack() {
    if (current_ <= 0)
        return false;
    --current_;
    return true;
}

bool MessageStore::StepForward() {
    if (current_ + 1 >= count_)
        return false;
    ++current_;
    return true;
}

MessagePanelState MessageStore::CurrentPanel() const {
    MessagePanelState panel;
    panel.Label = "Message " + std::to_string(current_ + 1) + " of " + std::to_string(count_);
    const StoredMessage& message = messages_[static_cast<size_t>(current_)];
    // A type without a text (not in the table, or its record was damaged) shows as empty.
    if (message.Type >= 0 && static_cast<size_t>(message.Type) < messageTexts_.size()) {
        const MessageText& text = messageTexts_[static_cast<size_t>(message.Type)];
        panel.Text = ReplaceMessageMarkers(text.Text, ParamText(message.Param1),
                                           ParamText(message.Param2), ParamText(message.Param3));
        panel.GotoEnabled = text.GotoFlag != 0;
    }
    panel.PreviousEnabled = current_ != 0;
    panel.NextEnabled = current_ + 1 < count_;
    return panel;
}
