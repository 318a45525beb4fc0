// A small writer of compact JSON text, for the tool's descriptions of game files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Builds one JSON value. Commas and the nesting are kept track of; the caller writes keys
// only inside objects and closes what it opened.
//
// Texts are the game's 8-bit Windows-1252 texts: printable ASCII is written as it is, '"'
// and '\' with a backslash, control characters as \n, \r, \t or \u00XX, and every other
// byte as \uXXXX of its Windows-1252 character (0x80 gives \u20ac, 0xE9 gives \u00e9), so
// the output is plain ASCII and reads back as the same characters.
class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value in the open object.
    void Key(std::string_view key);

    void Int(int64_t value);
    // Shortest decimal form that reads back as the same float; null for NaN or infinity,
    // which JSON cannot hold.
    void Float(float value);
    void Bool(bool value);
    void Null();
    void String(std::string_view windows1252Text);
    // A value already written as JSON text (for example by another JsonWriter).
    void RawValue(std::string_view json);

    const std::string& Text() const { return text_; }

private:
    void BeforeValue();

    std::string text_;
    // One entry per open object or array: whether it has a value yet.
    std::vector<bool> hasValue_;
    bool afterKey_ = false;
};

// The JSON string literal of a Windows-1252 text, quotes included.
std::string JsonQuote(std::string_view windows1252Text);
