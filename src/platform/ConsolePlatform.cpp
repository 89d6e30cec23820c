#include "platform/ConsolePlatform.h"

#include <cstdio>

int ConsolePlatform::MessageBox(const std::string& text, platform::MessageStyle style) {
    std::fprintf(stderr, "%s\n", text.c_str());
    const bool asksYes = style == platform::MessageStyle::YesNo || style == platform::MessageStyle::YesNoCancel;
    return asksYes ? platform::IDYES : platform::IDOK;
}

bool ConsolePlatform::SetClipboardBlock(const std::vector<std::uint8_t>& block) {
    m_clipboard = block;
    return true;
}
