#pragma once
// The platform services on Qt: message boxes, cursors, key state, dialogs, clipboard,
// screen metrics, the desktop's opener and text drawn into pixel images.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>
#include <set>

#include "platform/PlatformServices.h"

class QFont;

// The Qt font for a description. A face the machine lacks is matched by the font system to
// the closest installed one (a metric-compatible substitute or the default of its kind).
QFont FontFor(const platform::FontSpec& spec);

class QtPlatform : public QObject, public platform::PlatformServices {
    Q_OBJECT
public:
    // Installs itself as the services in force and watches the application's key events.
    QtPlatform();
    ~QtPlatform() override;

    // Message boxes and dialogs are parented here when set (the main window).
    void SetDialogParent(QWidget* parent) { m_dialogParent = parent; }
    // Long operations show their progress here (a status-bar widget, hidden between them).
    void SetProgressBar(QProgressBar* bar) { m_progressBar = bar; }

    int MessageBox(const std::string& text, platform::MessageStyle style) override;
    void BeginBusyCursor() override;
    void EndBusyCursor() override;
    bool IsKeyHeld(platform::HeldKey key) override;
    bool IsKeyboardInputPending() override;
    void BeginProgress() override;
    void ReportProgress(double fraction) override;
    void EndProgress() override;
    std::optional<std::string> RunFileDialog(const platform::FileDialogRequest& request) override;
    std::optional<platform::Rgb> ChooseColor(platform::Rgb initial) override;
    std::optional<platform::FontSpec> ChooseFont(const platform::FontSpec& initial) override;
    bool HasClipboardBlock() override;
    std::optional<std::vector<std::uint8_t>> GetClipboardBlock() override;
    bool SetClipboardBlock(const std::vector<std::uint8_t>& block) override;
    platform::Size ScreenSize() override;
    int ScreenPixelsPerInch() override;
    bool OpenAddress(const std::string& address) override;
    bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) override;
    bool DrawText(CvxDIB& target, int x, int y, const std::string& text, const platform::FontSpec& font,
                  platform::Rgb colour) override;
    platform::Size MeasureText(const std::string& text, const platform::FontSpec& font) override;

    static constexpr const char* kPrivateClipboardType = "application/x-marrowfin-dib";
    static constexpr const char* kPngClipboardType = "image/png";

    // While one lives, message boxes are not shown (and answer Cancel): for work the user
    // did not ask for, such as decoding a preview.
    class SilentMessages {
    public:
        explicit SilentMessages(QtPlatform& platform) : m_platform(platform) { ++m_platform.m_silenceDepth; }
        ~SilentMessages() { --m_platform.m_silenceDepth; }
        SilentMessages(const SilentMessages&) = delete;
        SilentMessages& operator=(const SilentMessages&) = delete;

    private:
        QtPlatform& m_platform;
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_dialogParent = nullptr;
    std::set<int> m_heldKeys;  // Qt key codes currently down
    bool m_keyPressPending = false;
    int m_silenceDepth = 0;
    bool m_pollingForKeys = false;
    QPointer<QProgressBar> m_progressBar;
    // While a long operation runs, the window is repainted and the keys are looked at only
    // this often: the loops ask far more often than anyone could see or type.
    static constexpr int kProgressIntervalMs = 40;
    QElapsedTimer m_sinceRepaint;
    QElapsedTimer m_sinceKeyPoll;
};
