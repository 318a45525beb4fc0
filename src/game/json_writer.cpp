#include "game/json_writer.h"

#include <charconv>
#include <cmath>

#include "platform/os/windows_1252.h"

namespace {

void AppendUnicodeEscape(std::string& out, char16_t unit) {
    static const char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(unit >> shift) & 0xF];
}

}  // namespace

std::string JsonQuote(std::string_view windows1252Text) {
    std::string out;
    out.reserve(windows1252Text.size() + 2);
    out += '"';
    for (char16_t unit : Windows1252ToUtf16(windows1252Text)) {
        switch (unit) {
            case u'"':
                out += "\\\"";
                break;
            case u'\\':
                out += "\\\\";
                break;
            case u'\n':
                out += "\\n";
                break;
            case u'\r':
                out += "\\r";
                break;
            case u'\t':
                out += "\\t";
                break;
            default:
                if (unit >= 0x20 && unit < 0x7F) {
                    out += static_cast<char>(unit);
                } else {
                    AppendUnicodeEscape(out, unit);
                }
        }
    }
    out += '"';
    return out;
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasValue_.empty()) {
        if (hasValue_.back())
            text_ += ',';
        hasValue_.back() = true;
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    text_ += '{';
    hasValue_.push_back(false);
}

void JsonWriter::EndObject() {
    text_ += '}';
    if (!hasValue_.empty())
        hasValue_.pop_back();
}

void JsonWriter::BeginArray() {
    BeforeValue();
    text_ += '[';
    hasValue_.push_back(false);
}

void JsonWriter::EndArray() {
    text_ += ']';
    if (!hasValue_.empty())
        hasValue_.pop_back();
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    text_ += JsonQuote(key);
    text_ += ':';
    afterKey_ = true;
}

void JsonWriter::Int(int64_t value) {
    BeforeValue();
    text_ += std::to_string(value);
}

void JsonWriter::Float(float value) {
    BeforeValue();
    if (!std::isfinite(value)) {
        text_ += "null";
        return;
    }
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
}

void JsonWriter::String(std::string_view windows1252Text) {
    BeforeValue();
    text_ += JsonQuote(windows1252Text);
}

void JsonWriter::RawValue(std::string_view json) {
    BeforeValue();
    text_ += json;
}
