#include "TiffBuilder.h"

#include <unordered_map>

#include "codecs/ByteOrder.h"

std::uint32_t TiffBuilder::Data(const std::vector<std::uint8_t>& bytes) {
    const auto offset = static_cast<std::uint32_t>(8 + m_data.size());
    m_data.insert(m_data.end(), bytes.begin(), bytes.end());
    if (m_data.size() % 2) m_data.push_back(0);
    return offset;
}

TiffBuilder& TiffBuilder::Page() {
    m_pages.emplace_back();
    return *this;
}

TiffBuilder& TiffBuilder::Entry(std::uint16_t tag, Type type, const std::vector<std::uint32_t>& values) {
    const std::size_t unit = type == kShort ? 2 : 4;
    std::vector<std::uint8_t> bytes(values.size() * unit);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (unit == 2) WriteLE16(&bytes[2 * i], static_cast<std::uint16_t>(values[i]));
        if (unit == 4) WriteLE32(&bytes[4 * i], values[i]);
    }
    m_pages.back().push_back({tag, type, static_cast<std::uint32_t>(values.size()), bytes, std::nullopt});
    return *this;
}

TiffBuilder& TiffBuilder::Ascii(std::uint16_t tag, const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    m_pages.back().push_back({tag, kAscii, static_cast<std::uint32_t>(bytes.size()), bytes, std::nullopt});
    return *this;
}

TiffBuilder& TiffBuilder::Raw(std::uint16_t tag, Type type, std::uint32_t count, std::uint32_t valueField) {
    m_pages.back().push_back({tag, type, count, {}, valueField});
    return *this;
}

TiffBuilder& TiffBuilder::LinkLastPageTo(int page) {
    m_loopTarget = page;
    return *this;
}

std::vector<std::uint8_t> TiffBuilder::Build() const {
    std::vector<std::uint8_t> out = {'I', 'I', 42, 0, 0, 0, 0, 0};
    out.insert(out.end(), m_data.begin(), m_data.end());

    std::vector<std::vector<std::uint32_t>> fields(m_pages.size());
    for (std::size_t p = 0; p < m_pages.size(); ++p) {
        for (const Item& item : m_pages[p]) {
            std::uint32_t field = 0;
            if (item.rawValue) {
                field = *item.rawValue;
            } else if (item.bytes.size() > 4) {
                field = static_cast<std::uint32_t>(out.size());
                out.insert(out.end(), item.bytes.begin(), item.bytes.end());
                if (out.size() % 2) out.push_back(0);
            }
            fields[p].push_back(field);
        }
    }
    std::vector<std::uint32_t> ifdOffsets;
    std::size_t previousLink = 4;
    for (std::size_t p = 0; p < m_pages.size(); ++p) {
        const std::size_t at = out.size();
        ifdOffsets.push_back(static_cast<std::uint32_t>(at));
        WriteLE32(&out[previousLink], static_cast<std::uint32_t>(at));
        out.resize(at + 2 + m_pages[p].size() * 12 + 4, 0);
        WriteLE16(&out[at], static_cast<std::uint16_t>(m_pages[p].size()));
        for (std::size_t e = 0; e < m_pages[p].size(); ++e) {
            const Item& item = m_pages[p][e];
            const std::size_t entry = at + 2 + e * 12;
            WriteLE16(&out[entry], item.tag);
            WriteLE16(&out[entry + 2], item.type);
            WriteLE32(&out[entry + 4], item.count);
            if (!item.rawValue && item.bytes.size() <= 4) {
                std::copy(item.bytes.begin(), item.bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(entry + 8));
            } else {
                WriteLE32(&out[entry + 8], fields[p][e]);
            }
        }
        previousLink = at + 2 + m_pages[p].size() * 12;
    }
    if (m_loopTarget) WriteLE32(&out[previousLink], ifdOffsets[static_cast<std::size_t>(*m_loopTarget)]);
    return out;
}

void AddStripPage(TiffBuilder& builder, std::uint32_t width, std::uint32_t height, std::uint32_t samples,
                  std::uint32_t photometric, const std::vector<std::uint8_t>& data) {
    const std::uint32_t offset = builder.Data(data);
    builder.Page()
        .Long(256, {width})
        .Long(257, {height})
        .Short(258, std::vector<std::uint32_t>(samples, 8))
        .Short(259, {1})
        .Short(262, {photometric})
        .Long(273, {offset})
        .Short(277, {samples})
        .Long(278, {height})
        .Long(279, {static_cast<std::uint32_t>(data.size())});
}

void CodePacker::Put(unsigned code, int width) {
    m_bits = (m_bits << width) | code;
    m_count += width;
    while (m_count >= 8) {
        m_count -= 8;
        m_out.push_back(static_cast<std::uint8_t>(m_bits >> m_count));
    }
}

std::vector<std::uint8_t> CodePacker::Finish() {
    if (m_count > 0) m_out.push_back(static_cast<std::uint8_t>(m_bits << (8 - m_count)));
    return m_out;
}

std::vector<std::uint8_t> LzwEncode(const std::vector<std::uint8_t>& data) {
    CodePacker writer;
    std::unordered_map<std::uint32_t, unsigned> table;
    unsigned nextCode = 258;
    int width = 9;
    writer.Put(256, width);
    // After each new entry: start again when the table is full, else widen when the
    // largest code no longer fits.
    const auto grow = [&] {
        ++nextCode;
        if (nextCode == 4094) {
            writer.Put(256, width);
            table.clear();
            nextCode = 258;
            width = 9;
        } else if (nextCode > (1u << width) - 1) {
            ++width;
        }
    };
    int current = -1;
    for (const std::uint8_t byte : data) {
        if (current < 0) {
            current = byte;
            continue;
        }
        const std::uint32_t key = (static_cast<std::uint32_t>(current) << 8) | byte;
        const auto found = table.find(key);
        if (found != table.end()) {
            current = static_cast<int>(found->second);
            continue;
        }
        writer.Put(static_cast<unsigned>(current), width);
        table[key] = nextCode;
        grow();
        current = byte;
    }
    if (current >= 0) {
        writer.Put(static_cast<unsigned>(current), width);
        grow();
    }
    writer.Put(257, width);
    return writer.Finish();
}

std::vector<std::uint8_t> Difference(std::vector<std::uint8_t> data, std::size_t rowPixels, std::size_t samples) {
    const std::size_t rowBytes = rowPixels * samples;
    for (std::size_t row = 0; row + 1 <= data.size() / rowBytes; ++row) {
        std::uint8_t* p = data.data() + row * rowBytes;
        for (std::size_t i = rowBytes; i-- > samples;) p[i] = static_cast<std::uint8_t>(p[i] - p[i - samples]);
    }
    return data;
}
