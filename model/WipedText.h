#pragma once
// Text that may hold what a card keeps private (its notes), wiped when it is replaced or freed.
#include <string>
#include <utility>

#include "store/SecureBytes.h"

class WipedText {
public:
    WipedText() = default;
    explicit WipedText(std::u16string text) : text(std::move(text)) {}
    WipedText(const WipedText&) = default;
    WipedText(WipedText&&) noexcept = default;
    // The old text is wiped before it goes.
    WipedText& operator=(WipedText other) noexcept {
        Wipe();
        text.swap(other.text);
        return *this;
    }
    ~WipedText() { Wipe(); }

    std::u16string_view View() const { return text; }

private:
    void Wipe() { SecureZero(text.data(), text.capacity() * sizeof(char16_t)); }

    std::u16string text;
};
