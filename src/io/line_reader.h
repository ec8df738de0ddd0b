#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Where and why a file could not be read: line is 1-based (0 when the file could not be opened).
struct LoadError {
    int line = 0;
    std::string reason;
};

// Reads a text file line by line, finding each line as it is read (a file of many short lines costs
// no index). Lines end with CR LF, LF or CR alone. Every read names what it expects,
// so the first fault becomes a LoadError on its line; after it every read does nothing and
// returns zeros, and the caller checks ok() where it must stop.
class LineReader {
  public:
    explicit LineReader(std::string_view text);

    bool ok() const { return !error_.has_value(); }
    const std::optional<LoadError>& error() const { return error_; }
    // Number of the line read last (1-based).
    int lineNumber() const { return lineNumber_; }
    std::optional<std::string_view> peek() const;

    // Messages about fields name the context first ("cell 5, Y0 (part 0): ...").
    void setContext(std::string context) { context_ = std::move(context); }

    // The next line whole, without its line end.
    std::optional<std::string_view> text(std::string_view what);
    // The next line, which must be empty or blank.
    bool emptyLine(std::string_view what);
    // The next line, which must hold exactly `count` numbers; the fields below read them.
    bool numbers(std::size_t count, std::string_view what);

    template <typename Int>
    Int whole(std::size_t i, std::string_view name) {
        return static_cast<Int>(
            wholeIn(i, name, std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max()));
    }
    float real(std::size_t i, std::string_view name);
    // A float that must round (halves to even) into lo..hi, as a list value that a cell holds in a
    // narrower whole-number field.
    float realFitting(std::size_t i, std::string_view name, double lo, double hi);

    void fail(std::string reason) { failAt(lineNumber(), std::move(reason)); }
    void failAt(int line, std::string reason);
    // "<context>, <name>: <message>" for the token i of the line read last.
    void failField(std::size_t i, std::string_view name, std::string_view message);

  private:
    std::int64_t wholeIn(std::size_t i, std::string_view name, std::int64_t lo, std::int64_t hi);
    bool take(std::string_view what);

    // The line that starts at pos and where the one after it starts.
    std::string_view lineAt(std::size_t pos, std::size_t* after) const;

    std::string_view text_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
    std::string_view current_;
    std::vector<std::string> tokens_;
    std::string context_;
    std::optional<LoadError> error_;
};

// A token or line as a message quotes it: in double quotes, cut after 40 characters with "…", so a
// million-digit number does not make a million-digit message.
std::string quoteToken(std::string_view token);

// One line of three bytes, each refused under its field's name; `what` names the line when it
// does not hold three numbers.
inline void readBytes(LineReader& in, std::string_view what, std::uint8_t& x, std::uint8_t& y,
                      std::uint8_t& z, const char* const names[3]) {
    if (!in.numbers(3, what)) return;
    x = in.whole<std::uint8_t>(0, names[0]);
    y = in.whole<std::uint8_t>(1, names[1]);
    z = in.whole<std::uint8_t>(2, names[2]);
}

// One line of a field's two parts, refused as "<field> (part 0)" and "(part 1)"; `what` names the
// line when it does not hold two numbers (the field itself unless given).
template <typename Int>
void readPair(LineReader& in, std::string_view field, Int& p0, Int& p1,
              std::string_view what = {}) {
    if (!in.numbers(2, what.empty() ? field : what)) return;
    p0 = in.whole<Int>(0, std::string(field) + " (part 0)");
    p1 = in.whole<Int>(1, std::string(field) + " (part 1)");
}

// Empty when the text may be read as lines; else the error (an empty file, a binary file).
std::optional<LoadError> checkTextFile(std::string_view text);

}  // namespace morvane
