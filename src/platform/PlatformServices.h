#pragma once
// Everything the editor asks of the operating system goes through this interface, so
// that the core never calls a toolkit and tests can script the user's answers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CvxDIB;

namespace platform {

enum class MessageStyle { Plain, Exclamation, OkCancel, YesNo, YesNoCancel };

// The answers a message box returns, with the framework's numbers.
enum MessageAnswer : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

enum class HeldKey { F1, Shift, Ctrl };

struct FileDialogRequest {
    bool forOpening = true;
    std::string filter;            // "text|pattern|text|pattern||"
    std::string initialName;
    std::string defaultExtension;  // without the dot
    std::string initialFolder;     // empty: the dialog's own choice
    bool promptOverwrite = false;
    int filterIndex = 1;           // the filter entry shown first, counted from 1
};

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct FontSpec {
    std::string face = "DejaVu Sans";
    int height = 24;  // pixels
    bool bold = false;
    bool italic = false;
    bool operator==(const FontSpec&) const = default;
};

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    virtual int MessageBox(const std::string& text, MessageStyle style) = 0;
    // Silent diagnostics: printed on stderr only when MARROWFIN_TRACE=1.
    virtual void Trace(const std::string& text);

    virtual void BeginBusyCursor() = 0;
    virtual void EndBusyCursor() = 0;
    virtual bool IsKeyHeld(HeldKey key) = 0;
    virtual bool IsKeyboardInputPending() = 0;
    // Offered once per row by long pixel loops on the window-message thread, so that the
    // rest of the system stays responsive; by default it gives up the time slice.
    virtual void YieldTimeSlice();
    // A long operation's progress indication: shown from Begin to End, moved by the fraction
    // done (0..1) reported between. Only the window-message thread calls these.
    virtual void BeginProgress() {}
    virtual void ReportProgress(double /*fraction*/) {}
    virtual void EndProgress() {}

    virtual std::optional<std::string> RunFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<Rgb> ChooseColor(Rgb initial) = 0;
    virtual std::optional<FontSpec> ChooseFont(const FontSpec& initial) = 0;

    // The clipboard carries packed device-independent bitmaps.
    virtual bool HasClipboardBlock() = 0;
    virtual std::optional<std::vector<std::uint8_t>> GetClipboardBlock() = 0;
    virtual bool SetClipboardBlock(const std::vector<std::uint8_t>& block) = 0;

    virtual Size ScreenSize() = 0;
    virtual int ScreenPixelsPerInch() = 0;
    virtual std::uint64_t AvailablePhysicalMemory();

    virtual bool OpenAddress(const std::string& address) = 0;
    virtual bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;

    // Draws one line of text into a 32-bit image; (x, y) is the top-left of the text.
    virtual bool DrawText(CvxDIB& target, int x, int y, const std::string& text, const FontSpec& font,
                          Rgb colour) = 0;
    // The pixels one line of text covers when drawn at (0, 0); nothing for an unknown font
    // engine.
    virtual Size MeasureText(const std::string& text, const FontSpec& font) = 0;
};

// The services in force. The editor, the command-line tool and each test install theirs.
PlatformServices& Services();
void InstallServices(PlatformServices* services);
PlatformServices* InstalledServices();

// Shows the busy cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { Services().BeginBusyCursor(); }
    ~BusyCursor() { Services().EndBusyCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Shows the progress indication for as long as it lives; nested ones share the outer one.
class ProgressIndicator {
public:
    ProgressIndicator();
    ~ProgressIndicator();
    ProgressIndicator(const ProgressIndicator&) = delete;
    ProgressIndicator& operator=(const ProgressIndicator&) = delete;
};
// Whether a progress indicator lives, so that pixel loops know their progress is wanted.
bool ProgressWanted();

// Convenience wrappers for the two calls nearly every layer makes.
inline int ShowMessage(const std::string& text, MessageStyle style = MessageStyle::Plain) {
    return Services().MessageBox(text, style);
}
inline void Trace(const std::string& text) { Services().Trace(text); }

// MemAvailable of /proc/meminfo in bytes, or 0 when it cannot be read.
std::uint64_t ReadMemAvailable(const std::string& meminfoPath = "/proc/meminfo");

}  // namespace platform
