#include "io/line_reader.h"

#include <cstdio>

#include "core/numeric.h"
#include "io/number_format.h"

namespace morvane {

LineReader::LineReader(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.push_back(line);
        start = end + 1;
    }
}

std::optional<std::string_view> LineReader::peek() const {
    if (next_ >= lines_.size()) return std::nullopt;
    return lines_[next_];
}

bool LineReader::take(std::string_view what) {
    if (!ok()) return false;
    if (next_ >= lines_.size()) {
        failAt(static_cast<int>(lines_.size()) + 1,
               "the file ends where " + std::string(what) + " should be");
        return false;
    }
    ++next_;
    return true;
}

std::optional<std::string_view> LineReader::text(std::string_view what) {
    if (!take(what)) return std::nullopt;
    return lines_[next_ - 1];
}

bool LineReader::emptyLine(std::string_view what) {
    if (!take(what)) return false;
    if (lines_[next_ - 1].find_first_not_of(" \t") != std::string_view::npos) {
        fail("expected " + std::string(what) + ", found \"" + std::string(lines_[next_ - 1]) +
             "\"");
        return false;
    }
    return true;
}

bool LineReader::numbers(std::size_t count, std::string_view what) {
    if (!take(what)) return false;
    tokens_ = splitNumbers(lines_[next_ - 1]);
    if (tokens_.size() != count) {
        std::string reason = context_.empty() ? "" : context_ + ", ";
        reason += std::string(what) + ": expected " + std::to_string(count) +
                  (count == 1 ? " number" : " numbers") + ", found " +
                  std::to_string(tokens_.size());
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
    if (i < tokens_.size()) reason += "\"" + tokens_[i] + "\" ";
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
