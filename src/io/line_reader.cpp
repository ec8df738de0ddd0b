#include "io/line_reader.h"

#include <cstdio>

#include "base/numeric.h"
#include "io/number_format.h"

namespace morvane {

namespace {
constexpr std::size_t kQuotedBytes = 40;
}  // namespace

LineReader::LineReader(std::string_view text) : text_(text) {}

std::string_view LineReader::lineAt(std::size_t pos, std::size_t* after) const {
    std::size_t end = text_.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text_.size();
    std::size_t next = end + 1;
    if (end < text_.size() && text_[end] == '\r' && next < text_.size() && text_[next] == '\n')
        ++next;
    if (after) *after = next;
    return text_.substr(pos, end - pos);
}

std::optional<std::string_view> LineReader::peek() const {
    if (pos_ >= text_.size()) return std::nullopt;
    return lineAt(pos_, nullptr);
}

bool LineReader::take(std::string_view what) {
    if (!ok()) return false;
    if (pos_ >= text_.size()) {
        failAt(lineNumber_ + 1, "the file ends where " + std::string(what) + " should be");
        return false;
    }
    current_ = lineAt(pos_, &pos_);
    ++lineNumber_;
    return true;
}

std::optional<std::string_view> LineReader::text(std::string_view what) {
    if (!take(what)) return std::nullopt;
    return current_;
}

bool LineReader::emptyLine(std::string_view what) {
    if (!take(what)) return false;
    if (current_.find_first_not_of(" \t") != std::string_view::npos) {
        fail("expected " + std::string(what) + ", found " + quoteToken(current_));
        return false;
    }
    return true;
}

bool LineReader::numbers(std::size_t count, std::string_view what) {
    if (!take(what)) return false;
    // Tokens beyond the one too many are counted, not kept: a line of millions of numbers would
    // otherwise take many times the file's size.
    const std::size_t found = splitNumbers(current_, &tokens_, count + 1);
    if (found != count) {
        std::string reason = context_.empty() ? "" : context_ + ", ";
        reason += std::string(what) + ": expected " + std::to_string(count) +
                  (count == 1 ? " number" : " numbers") + ", found " + std::to_string(found);
        fail(std::move(reason));
        return false;
    }
    return true;
}

void LineReader::failAt(int line, std::string reason) {
    if (!error_) error_ = LoadError{line, std::move(reason)};
}

void LineReader::failField(std::size_t i, std::string_view name, std::string_view message) {
    std::string reason = context_.empty() ? "" : context_ + ", ";
    reason += std::string(name) + ": ";
    if (i < tokens_.size()) reason += quoteToken(tokens_[i]) + " ";
    reason += message;
    fail(std::move(reason));
}

std::int64_t LineReader::wholeIn(std::size_t i, std::string_view name, std::int64_t lo,
                                 std::int64_t hi) {
    if (!ok() || i >= tokens_.size()) return 0;
    const ParsedWhole p = parseWhole(tokens_[i], lo, hi);
    switch (p.error) {
        case NumberError::kNone:
            return p.value;
        case NumberError::kNotANumber:
            failField(i, name, "is not a number");
            break;
        case NumberError::kNotFinite:
            failField(i, name, "is not a finite number");
            break;
        case NumberError::kFraction:
            failField(i, name, "is not a whole number");
            break;
        case NumberError::kOutOfRange:
            failField(i, name, "does not fit " + std::to_string(lo) + ".." + std::to_string(hi));
            break;
    }
    return 0;
}

float LineReader::real(std::size_t i, std::string_view name) {
    if (!ok() || i >= tokens_.size()) return 0;
    const ParsedFloat p = parseFloat32(tokens_[i]);
    switch (p.error) {
        case NumberError::kNone:
            return p.value;
        case NumberError::kNotANumber:
            failField(i, name, "is not a number");
            break;
        default:
            failField(i, name, "is not a finite 32-bit float");
            break;
    }
    return 0;
}

float LineReader::realFitting(std::size_t i, std::string_view name, double lo, double hi) {
    const float x = real(i, name);
    const double r = roundHalfEven(x);
    if (ok() && (r < lo || r > hi)) {
        char range[64];
        std::snprintf(range, sizeof range, "%.0f..%.0f", lo, hi);
        failField(i, name, std::string("does not fit a cell's ") + range);
    }
    return x;
}

std::string quoteToken(std::string_view token) {
    if (token.size() <= kQuotedBytes) return "\"" + std::string(token) + "\"";
    std::size_t cut = kQuotedBytes;
    // Never in the middle of a UTF-8 character.
    while (cut > 0 && (static_cast<unsigned char>(token[cut]) & 0xC0) == 0x80) --cut;
    return "\"" + std::string(token.substr(0, cut)) + "\xE2\x80\xA6\"";
}

std::optional<LoadError> checkTextFile(std::string_view text) {
    if (text.empty()) return LoadError{1, "the file is empty"};
    int line = 1;
    for (unsigned char c : text) {
        if (c == '\n') ++line;
        if (c < 0x20 && c != '\n' && c != '\r' && c != '\t') {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", c);
            return LoadError{line, std::string("not a text file (byte ") + byte + ")"};
        }
    }
    return std::nullopt;
}

}  // namespace morvane
