#pragma once
// A platform double for tests: it records what the system shows and answers from
// queues the test fills, so behaviour that needs a user can run without a display.

#include <deque>
#include <set>

#include "platform/PlatformServices.h"

namespace platform {

struct RecordedMessage {
    std::string text;
    MessageStyle style;
    bool operator==(const RecordedMessage&) const = default;
};

struct RecordedText {
    int x, y;
    std::string text;
    FontSpec font;
    Rgb colour;
};

class ScriptedPlatform : public PlatformServices {
public:
    // Installs itself for its lifetime and restores the previous services afterwards.
    ScriptedPlatform();
    ~ScriptedPlatform() override;
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    // Message boxes: each answer queued is used once; without one, the first button.
    int MessageBox(const std::string& text, MessageStyle style) override;
    void Trace(const std::string& text) override;
    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    const std::vector<RecordedMessage>& Messages() const { return m_messages; }
    std::vector<std::string> MessageTexts() const;
    const std::vector<std::string>& Traces() const { return m_traces; }
    void ClearMessages() { m_messages.clear(); }

    void BeginBusyCursor() override { ++m_busyDepth; ++m_busyCount; }
    void EndBusyCursor() override { --m_busyDepth; }
    int BusyDepth() const { return m_busyDepth; }
    int BusyCount() const { return m_busyCount; }
    // Every fraction a long operation reported, in order.
    void ReportProgress(double fraction) override { m_progress.push_back(fraction); }
    const std::vector<double>& ProgressReports() const { return m_progress; }

    bool IsKeyHeld(HeldKey key) override { return m_heldKeys.count(key) != 0; }
    void SetKeyHeld(HeldKey key, bool held);
    bool IsKeyboardInputPending() override { return m_keyPending; }
    void SetKeyboardInputPending(bool pending) { m_keyPending = pending; }

    // File dialogs: a queued path answers OK, a queued nullopt answers Cancel; an empty
    // queue cancels.
    std::optional<std::string> RunFileDialog(const FileDialogRequest& request) override;
    void QueueFileDialogAnswer(std::optional<std::string> path) { m_fileAnswers.push_back(std::move(path)); }
    const std::vector<FileDialogRequest>& FileDialogRequests() const { return m_fileRequests; }

    std::optional<Rgb> ChooseColor(Rgb initial) override;
    void QueueColorAnswer(std::optional<Rgb> colour) { m_colorAnswers.push_back(colour); }
    std::optional<FontSpec> ChooseFont(const FontSpec& initial) override;
    void QueueFontAnswer(std::optional<FontSpec> font) { m_fontAnswers.push_back(std::move(font)); }

    bool HasClipboardBlock() override { return m_clipboard.has_value(); }
    std::optional<std::vector<std::uint8_t>> GetClipboardBlock() override { return m_clipboard; }
    bool SetClipboardBlock(const std::vector<std::uint8_t>& block) override;
    void ClearClipboard() { m_clipboard.reset(); }

    Size ScreenSize() override { return m_screen; }
    void SetScreenSize(Size size) { m_screen = size; }
    int ScreenPixelsPerInch() override { return m_pixelsPerInch; }
    void SetScreenPixelsPerInch(int ppi) { m_pixelsPerInch = ppi; }
    std::uint64_t AvailablePhysicalMemory() override { return m_availableMemory; }
    void SetAvailablePhysicalMemory(std::uint64_t bytes) { m_availableMemory = bytes; }

    bool OpenAddress(const std::string& address) override;
    bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) override;
    const std::vector<std::string>& OpenedAddresses() const { return m_addresses; }
    const std::vector<std::vector<std::string>>& StartedPrograms() const { return m_programs; }

    // Records the call; glyphs are drawn only by a text renderer the test lends.
    bool DrawText(CvxDIB& target, int x, int y, const std::string& text, const FontSpec& font,
                  Rgb colour) override;
    Size MeasureText(const std::string& text, const FontSpec& font) override;
    const std::vector<RecordedText>& DrawnTexts() const { return m_texts; }
    void SetTextRenderer(PlatformServices* renderer) { m_textRenderer = renderer; }

private:
    std::vector<double> m_progress;
    PlatformServices* m_previous = nullptr;
    PlatformServices* m_textRenderer = nullptr;
    std::vector<RecordedMessage> m_messages;
    std::vector<std::string> m_traces;
    std::deque<int> m_answers;
    int m_busyDepth = 0;
    int m_busyCount = 0;
    std::set<HeldKey> m_heldKeys;
    bool m_keyPending = false;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::vector<FileDialogRequest> m_fileRequests;
    std::deque<std::optional<Rgb>> m_colorAnswers;
    std::deque<std::optional<FontSpec>> m_fontAnswers;
    std::optional<std::vector<std::uint8_t>> m_clipboard;
    Size m_screen{1280, 1024};
    int m_pixelsPerInch = 96;
    std::uint64_t m_availableMemory = 8ULL << 30;
    std::vector<std::string> m_addresses;
    std::vector<std::vector<std::string>> m_programs;
    std::vector<RecordedText> m_texts;
};

}  // namespace platform
