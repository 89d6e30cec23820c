#pragma once
// Platform services where nobody is there to answer (the command-line tool, the autosave
// writer): every message box is printed on stderr, one per line, and answered with its first
// button; nothing interactive is offered.

#include <optional>

#include "platform/PlatformServices.h"

class ConsolePlatform : public platform::PlatformServices {
public:
    int MessageBox(const std::string& text, platform::MessageStyle style) override;
    void BeginBusyCursor() override {}
    void EndBusyCursor() override {}
    bool IsKeyHeld(platform::HeldKey) override { return false; }
    bool IsKeyboardInputPending() override { return false; }
    std::optional<std::string> RunFileDialog(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<platform::Rgb> ChooseColor(platform::Rgb) override { return std::nullopt; }
    std::optional<platform::FontSpec> ChooseFont(const platform::FontSpec&) override { return std::nullopt; }
    bool HasClipboardBlock() override { return m_clipboard.has_value(); }
    std::optional<std::vector<std::uint8_t>> GetClipboardBlock() override { return m_clipboard; }
    bool SetClipboardBlock(const std::vector<std::uint8_t>& block) override;
    platform::Size ScreenSize() override { return {1280, 1024}; }
    int ScreenPixelsPerInch() override { return 96; }
    bool OpenAddress(const std::string&) override { return false; }
    bool StartProgram(const std::string&, const std::vector<std::string>&) override { return false; }
    bool DrawText(CvxDIB&, int, int, const std::string&, const platform::FontSpec&, platform::Rgb) override {
        return false;
    }

private:
    std::optional<std::vector<std::uint8_t>> m_clipboard;
};
