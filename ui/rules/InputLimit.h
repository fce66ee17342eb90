#pragma once
// What a text box takes of what the user types or pastes. The limit applies to new text only: a value
// the box was given (a stored value longer than the limit, a formatted number) is shown and kept whole.
// Typing into a full box inserts nothing; a paste is cut to the room left, as the platform's edit boxes
// do.
#include <cstddef>
#include <string>
#include <string_view>

class InputLimit {
public:
    // Dialable: the digits and what dialers take between them ("+", space, parentheses, "-").
    enum class Chars { Any, Digits, Dialable };

    InputLimit(size_t maxChars, Chars chars = Chars::Any) : maxChars(maxChars), chars(chars) {}

    // The part of typed or pasted text the box takes when it holds length characters, of which selected
    // are replaced by it: the characters it accepts, up to the room left.
    std::wstring Admit(std::wstring_view text, size_t length, size_t selected) const;
    size_t MaxChars() const { return maxChars; }

private:
    bool Accepts(wchar_t c) const;

    size_t maxChars;
    Chars chars;
};
