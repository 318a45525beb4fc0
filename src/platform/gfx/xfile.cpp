#include "platform/gfx/xfile.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <string_view>

namespace gfx {

namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr int kMaxDepth = 32;
constexpr std::uint32_t kMaxCount = 1u << 21;
constexpr std::uint32_t kMaxCorners = 1024;
constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

enum class Tok { End, Bad, Word, Open, Close, Separator, Guid, String, Bracket };

struct Token {
    Tok kind = Tok::End;
    std::string_view text;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsDelimiter(char c) {
    return IsSpace(c) || c == '{' || c == '}' || c == ';' || c == ',' || c == '<' || c == '>' ||
           c == '"' || c == '[' || c == ']';
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    Token Next() {
        SkipBlanks();
        if (at_ >= text_.size()) {
            return {Tok::End, {}};
        }
        const char c = text_[at_];
        const std::size_t start = at_;
        switch (c) {
            case '{':
                ++at_;
                return {Tok::Open, text_.substr(start, 1)};
            case '}':
                ++at_;
                return {Tok::Close, text_.substr(start, 1)};
            case ';':
            case ',':
                ++at_;
                return {Tok::Separator, text_.substr(start, 1)};
            case '[':
            case ']':
                ++at_;
                return {Tok::Bracket, text_.substr(start, 1)};
            case '<':
            case '"': {
                const char close = c == '<' ? '>' : '"';
                const std::size_t end = text_.find(close, at_ + 1);
                if (end == std::string_view::npos) {
                    at_ = text_.size();
                    return {Tok::Bad, {}};
                }
                at_ = end + 1;
                return {c == '<' ? Tok::Guid : Tok::String, text_.substr(start, at_ - start)};
            }
            case '>':
                ++at_;
                return {Tok::Bad, {}};
            default:
                break;
        }
        while (at_ < text_.size() && !IsDelimiter(text_[at_])) {
            ++at_;
        }
        return {Tok::Word, text_.substr(start, at_ - start)};
    }

    Token Peek() {
        const std::size_t saved = at_;
        const Token token = Next();
        at_ = saved;
        return token;
    }

    std::size_t Remaining() const { return text_.size() - at_; }

private:
    void SkipBlanks() {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (IsSpace(c)) {
                ++at_;
            } else if (c == '#' || (c == '/' && at_ + 1 < text_.size() && text_[at_ + 1] == '/')) {
                const std::size_t end = text_.find('\n', at_);
                at_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else {
                break;
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

class Parser {
public:
    explicit Parser(std::string_view body) : lexer_(body) {}

    Result Run(XMeshData& mesh) {
        bool found = false;
        if (Result r = ObjectList(0, false, mesh, found); r != D3DRM_OK) {
            return r;
        }
        return found ? D3DRM_OK : D3DRMERR_NOTFOUND;
    }

private:
    // Reads data objects until the end of the file (top level) or the closing brace of the
    // enclosing block, looking for the first mesh. Stops reading once it is found.
    Result ObjectList(int depth, bool nested, XMeshData& mesh, bool& found) {
        if (depth > kMaxDepth) {
            return D3DRMERR_BADFILE;
        }
        for (;;) {
            const Token token = lexer_.Next();
            switch (token.kind) {
                case Tok::End:
                    return nested ? D3DRMERR_BADFILE : D3DRM_OK;
                case Tok::Close:
                    return nested ? D3DRM_OK : D3DRMERR_BADFILE;
                case Tok::Separator:
                    continue;
                case Tok::Open:
                    // A reference to a named object: { name }.
                    if (Result r = SkipBody(); r != D3DRM_OK) {
                        return r;
                    }
                    continue;
                case Tok::Word:
                    break;
                default:
                    return D3DRMERR_BADFILE;
            }
            if (Result r = OpenObject(); r != D3DRM_OK) {
                return r;
            }
            if (token.text == "Mesh") {
                found = true;
                return MeshBody(mesh);
            }
            if (token.text == "Frame") {
                if (Result r = ObjectList(depth + 1, true, mesh, found); r != D3DRM_OK || found) {
                    return r;
                }
                continue;
            }
            if (Result r = SkipBody(); r != D3DRM_OK) {
                return r;
            }
        }
    }

    // After an object's type: an optional name, an optional class id, then the brace.
    Result OpenObject() {
        Token token = lexer_.Next();
        if (token.kind == Tok::Word) {
            token = lexer_.Next();
        }
        if (token.kind == Tok::Guid) {
            token = lexer_.Next();
        }
        return token.kind == Tok::Open ? D3DRM_OK : D3DRMERR_BADFILE;
    }

    // Skips to the brace closing the one just read, whatever lies between.
    Result SkipBody() {
        std::size_t open = 1;
        while (open > 0) {
            const Token token = lexer_.Next();
            if (token.kind == Tok::End || token.kind == Tok::Bad) {
                return D3DRMERR_BADFILE;
            }
            if (token.kind == Tok::Open) {
                ++open;
            } else if (token.kind == Tok::Close) {
                --open;
            }
        }
        return D3DRM_OK;
    }

    // The next word after any separators.
    bool NextValue(std::string_view& text) {
        Token token = lexer_.Next();
        while (token.kind == Tok::Separator) {
            token = lexer_.Next();
        }
        if (token.kind != Tok::Word) {
            return false;
        }
        text = token.text;
        return true;
    }

    bool ReadCount(std::uint32_t& value) {
        std::string_view text;
        if (!NextValue(text)) {
            return false;
        }
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc{} && end == text.data() + text.size();
    }

    // A count of items that each take at least minBytes more bytes of the file.
    bool ReadBoundedCount(std::uint32_t& value, std::size_t minBytes) {
        return ReadCount(value) && value <= kMaxCount && value <= lexer_.Remaining() / minBytes;
    }

    bool ReadFloat(float& value) {
        std::string_view text;
        if (!NextValue(text)) {
            return false;
        }
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc{} && end == text.data() + text.size() && std::isfinite(value);
    }

    bool ReadFloats(float* values, int count) {
        for (int i = 0; i < count; ++i) {
            if (!ReadFloat(values[i])) {
                return false;
            }
        }
        return true;
    }

    Result MeshBody(XMeshData& mesh) {
        std::uint32_t vertexCount = 0;
        if (!ReadBoundedCount(vertexCount, 6) || vertexCount == 0) {
            return D3DRMERR_BADFILE;
        }
        mesh.positions.resize(vertexCount);
        for (auto& position : mesh.positions) {
            if (!ReadFloats(position.data(), 3)) {
                return D3DRMERR_BADFILE;
            }
        }
        std::uint32_t faceCount = 0;
        if (!ReadBoundedCount(faceCount, 8) || faceCount == 0) {
            return D3DRMERR_BADFILE;
        }
        mesh.faceSizes.resize(faceCount);
        for (std::uint32_t face = 0; face < faceCount; ++face) {
            std::uint32_t corners = 0;
            if (!ReadCount(corners) || corners < 3 || corners > kMaxCorners ||
                corners > lexer_.Remaining() / 2 ||
                mesh.faceVertices.size() + corners > kMaxCount) {
                return D3DRMERR_BADFILE;
            }
            mesh.faceSizes[face] = corners;
            for (std::uint32_t k = 0; k < corners; ++k) {
                std::uint32_t index = 0;
                if (!ReadCount(index) || index >= vertexCount) {
                    return D3DRMERR_BADFILE;
                }
                mesh.faceVertices.push_back(index);
            }
        }
        for (;;) {
            const Token token = lexer_.Next();
            switch (token.kind) {
                case Tok::Close:
                    return D3DRM_OK;
                case Tok::Separator:
                    continue;
                case Tok::Open:
                    if (Result r = SkipBody(); r != D3DRM_OK) {
                        return r;
                    }
                    continue;
                case Tok::Word:
                    break;
                default:
                    return D3DRMERR_BADFILE;
            }
            if (Result r = OpenObject(); r != D3DRM_OK) {
                return r;
            }
            Result r = D3DRM_OK;
            if (token.text == "MeshNormals") {
                r = NormalsBody(mesh);
            } else if (token.text == "MeshTextureCoords") {
                r = TexCoordsBody(mesh);
            } else {
                r = SkipBody();
            }
            if (r != D3DRM_OK) {
                return r;
            }
        }
    }

    Result NormalsBody(XMeshData& mesh) {
        std::uint32_t normalCount = 0;
        if (!ReadBoundedCount(normalCount, 6) || normalCount == 0) {
            return D3DRMERR_BADFILE;
        }
        std::vector<std::array<float, 3>> normals(normalCount);
        for (auto& normal : normals) {
            if (!ReadFloats(normal.data(), 3)) {
                return D3DRMERR_BADFILE;
            }
        }
        std::uint32_t faceCount = 0;
        if (!ReadCount(faceCount) || faceCount != mesh.faceSizes.size()) {
            return D3DRMERR_BADFILE;
        }
        mesh.normals.assign(mesh.positions.size(), {0.0f, 0.0f, 0.0f});
        std::size_t corner = 0;
        for (std::uint32_t face = 0; face < faceCount; ++face) {
            std::uint32_t corners = 0;
            if (!ReadCount(corners) || corners != mesh.faceSizes[face]) {
                return D3DRMERR_BADFILE;
            }
            for (std::uint32_t k = 0; k < corners; ++k, ++corner) {
                std::uint32_t index = 0;
                if (!ReadCount(index) || index >= normalCount) {
                    return D3DRMERR_BADFILE;
                }
                mesh.normals[mesh.faceVertices[corner]] = normals[index];
            }
        }
        return Finish();
    }

    Result TexCoordsBody(XMeshData& mesh) {
        std::uint32_t count = 0;
        if (!ReadCount(count) || count != mesh.positions.size()) {
            return D3DRMERR_BADFILE;
        }
        mesh.texCoords.resize(count);
        for (auto& uv : mesh.texCoords) {
            if (!ReadFloats(uv.data(), 2)) {
                return D3DRMERR_BADFILE;
            }
        }
        return Finish();
    }

    // The rest of a block after its data: separators, then the closing brace.
    Result Finish() {
        for (;;) {
            const Token token = lexer_.Next();
            if (token.kind == Tok::Separator) {
                continue;
            }
            if (token.kind == Tok::Close) {
                return D3DRM_OK;
            }
            return D3DRMERR_BADFILE;
        }
    }

    Lexer lexer_;
};

}  // namespace

Result ParseXFile(std::span<const std::uint8_t> bytes, XMeshData& mesh) {
    mesh = XMeshData{};
    if (bytes.size() < kHeaderSize) {
        return D3DRMERR_BADFILE;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    // "xof " magic, 4 version digits, "txt " format, 4 float size digits.
    if (text.substr(0, 4) != "xof " || text.substr(8, 4) != "txt ") {
        return D3DRMERR_BADFILE;
    }
    XMeshData read;
    Parser parser(text.substr(kHeaderSize));
    if (Result r = parser.Run(read); r != D3DRM_OK) {
        return r;
    }
    mesh = std::move(read);
    return D3DRM_OK;
}

Result LoadXFile(const std::string& path, XMeshData& mesh) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return D3DRMERR_FILENOTFOUND;
    }
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    while (file) {
        file.read(buffer, sizeof buffer);
        const auto got = static_cast<std::size_t>(file.gcount());
        if (bytes.size() + got > kMaxFileBytes) {
            return D3DRMERR_BADFILE;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    if (file.bad()) {
        return D3DRMERR_BADFILE;
    }
    return ParseXFile(bytes, mesh);
}

}  // namespace gfx
