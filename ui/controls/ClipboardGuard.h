#pragma once
// A copied password does not stay on the clipboard: it is cleared after a delay, when the wallet locks
// and when the plug-in unloads, but only while the clipboard still holds what was put there (the user
// may have copied something else meanwhile). Only a digest of the copied text is kept.
#include <wx/string.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

class ClipboardAccess {
public:
    virtual ~ClipboardAccess() = default;
    virtual bool Put(const wxString& text) = 0;
    // The clipboard's text, or nothing when it holds none.
    virtual std::optional<wxString> Text() = 0;
    virtual void Clear() = 0;
};

// The toolkit's clipboard.
class SystemClipboard : public ClipboardAccess {
public:
    bool Put(const wxString& text) override;
    std::optional<wxString> Text() override;
    void Clear() override;
};

class ClipboardGuard {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::seconds kDelay{30};

    explicit ClipboardGuard(ClipboardAccess& clipboard, Clock clock = std::chrono::steady_clock::now)
        : clipboard(clipboard), clock(std::move(clock)) {}

    // Puts the text on the clipboard and starts the delay; false when the clipboard refused it.
    bool Copy(const wxString& text);
    // Clears once the delay has passed; true while a clear is still due.
    bool Tick();
    // Clears now (lock, unload).
    void ClearNow();
    bool Pending() const { return pending; }
    // True when the last clear that came due emptied the clipboard (it still held the copied text).
    bool Cleared() const { return cleared; }

private:
    using Digest = std::array<uint8_t, 32>;
    static Digest DigestOf(const wxString& text);

    ClipboardAccess& clipboard;
    Clock clock;
    Digest copied{};
    std::chrono::steady_clock::time_point deadline;
    bool pending = false;
    bool cleared = false;
};
