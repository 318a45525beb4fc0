// The player's messages and the fixed texts they are shown with.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class NamedRecordStore;

constexpr int kMaxStoredMessages = 50;
constexpr int kMessageParamBytes = 100;  // 99 characters and the 0 byte
constexpr int kMessageParamMaxLength = kMessageParamBytes - 1;

// The fixed text of one message type.
struct MessageText {
    int32_t Reserved = 0;   // always 0
    std::string_view Text;  // view into the built-in record, which lives as long as the program
    int32_t GotoFlag = 0;   // not 0: the message has a place to go to
};

using MessageParam = std::array<char, kMessageParamBytes>;

// One message of the player: its type and up to three parameter texts (zero-ended).
struct StoredMessage {
    int32_t Type = 0;
    MessageParam Param1{};
    MessageParam Param2{};
    MessageParam Param3{};
};

// The parameter's text up to its first 0 byte.
std::string_view ParamText(const MessageParam& param);
// Stores `text` cut at its first 0 byte and at 99 characters; the rest of the buffer is 0.
void SetParam(MessageParam& param, std::string_view text);

// Replaces "MPARAM1" by param1 everywhere, then in that result "MPARAM2" by param2, then
// "MPARAM3" by param3. Matching is exact and left to right; a replacement is not searched
// again within its own step, but a later step does see markers brought in by earlier ones.
std::string ReplaceMessageMarkers(std::string_view text, std::string_view param1,
                                  std::string_view param2, std::string_view param3);

// What the main screen's message panel shows for the current message.
struct MessagePanelState {
    std::string Label;             // "Message N of M"
    std::string Text;              // the message text with its markers replaced
    bool PreviousEnabled = false;  // "Prev"
    bool NextEnabled = false;      // "Next"
    bool GotoEnabled = false;      // "Goto"
};

class MessageStore {
public:
    // Reads the message texts from the built-in records. Count and Current start at 0.
    MessageStore();
    // Reads the message texts from `records` ("NumberOfMessages", "Message0" ...).
    explicit MessageStore(const NamedRecordStore& records);
    // Uses the given texts (the views must outlive the store).
    explicit MessageStore(std::vector<MessageText> texts);

    // Adds a message at position Count. Returns false and changes nothing when the store
    // already holds 50 messages. Parameters are cut to 99 characters.
    bool Append(const StoredMessage& message);
    bool Append(int32_t type, std::string_view param1 = {}, std::string_view param2 = {},
                std::string_view param3 = {});

    // After a player file has been read: a store without messages gets one of type 0
    // (the "no new messages" text).
    void EnsureOneMessage();

    int32_t Count() const { return count_; }
    int32_t Current() const { return current_; }
    const StoredMessage& Message(int position) const;  // 0 <= position < 50
    const std::vector<MessageText>& MessageTexts() const { return messageTexts_; }

    // "Prev" and "Next": move Current by one. They do nothing (and return false) at the ends,
    // where the panel has the button disabled.
    bool StepBack();
    bool StepForward();

    // The label, text and button states of the message at position Current.
    MessagePanelState CurrentPanel() const;

private:
    std::array<StoredMessage, kMaxStoredMessages> messages_{};
    std::vector<MessageText> messageTexts_;
    int32_t count_ = 0;
    int32_t current_ = 0;
};

// Reads the message texts from the records: "NumberOfMessages" gives N, then "Message0" to
// "Message<N-1>" each a zero-ended text and a 16-bit goto flag. A missing or damaged record
// gives an empty text (goto flag 0) for its type; a missing or negative count gives no texts.
std::vector<MessageText> LoadMessageTexts(const NamedRecordStore& records);
std::vector<MessageText> LoadBuiltInMessageTexts();
