#include "platform/ScriptedPlatform.h"

#include <algorithm>

namespace platform {

namespace {

// The answer of the first button, as a user pressing Enter would give.
int FirstButton(MessageStyle style) {
    switch (style) {
        case MessageStyle::YesNo:
        case MessageStyle::YesNoCancel:
            return IDYES;
        default:
            return IDOK;
    }
}

template <typename T>
std::optional<T> TakeFront(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    auto answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

ScriptedPlatform::ScriptedPlatform() {
    // Remember what was installed so that doubles nest.
    m_previous = InstalledServices();
    InstallServices(this);
}

ScriptedPlatform::~ScriptedPlatform() { InstallServices(m_previous); }

int ScriptedPlatform::MessageBox(const std::string& text, MessageStyle style) {
    m_messages.push_back({text, style});
    if (m_answers.empty()) return FirstButton(style);
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedPlatform::Trace(const std::string& text) {
    m_traces.push_back(text);
    PlatformServices::Trace(text);
}

std::vector<std::string> ScriptedPlatform::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : m_messages) texts.push_back(message.text);
    return texts;
}

void ScriptedPlatform::SetKeyHeld(HeldKey key, bool held) {
    if (held)
        m_heldKeys.insert(key);
    else
        m_heldKeys.erase(key);
}

std::optional<std::string> ScriptedPlatform::RunFileDialog(const FileDialogRequest& request) {
    m_fileRequests.push_back(request);
    return TakeFront(m_fileAnswers);
}

std::optional<Rgb> ScriptedPlatform::ChooseColor(Rgb) { return TakeFront(m_colorAnswers); }

std::optional<FontSpec> ScriptedPlatform::ChooseFont(const FontSpec&) { return TakeFront(m_fontAnswers); }

bool ScriptedPlatform::SetClipboardBlock(const std::vector<std::uint8_t>& block) {
    m_clipboard = block;
    return true;
}

bool ScriptedPlatform::OpenAddress(const std::string& address) {
    m_addresses.push_back(address);
    return true;
}

bool ScriptedPlatform::StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> call{program};
    call.insert(call.end(), arguments.begin(), arguments.end());
    m_programs.push_back(std::move(call));
    return true;
}

bool ScriptedPlatform::DrawText(CvxDIB& target, int x, int y, const std::string& text, const FontSpec& font,
                                Rgb colour) {
    m_texts.push_back({x, y, text, font, colour});
    return m_textRenderer ? m_textRenderer->DrawText(target, x, y, text, font, colour) : true;
}

Size ScriptedPlatform::MeasureText(const std::string& text, const FontSpec& font) {
    if (m_textRenderer) return m_textRenderer->MeasureText(text, font);
    // A fixed advance per byte stands in for glyph metrics.
    return {static_cast<int>(text.size()) * std::max(1, font.height / 2), std::max(1, font.height)};
}

}  // namespace platform
