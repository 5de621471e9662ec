// Dialog template reader. Offsets are counted from the start of the template, which is where WORD and
// DWORD alignment is measured from; every read is checked against the size the caller gave.
#include "controls/DialogTemplate.h"

#include <cstdint>
#include <cstring>

namespace cehost::controls {

namespace {

// The longest name we accept in a template field; real templates never come near it, and a missing
// terminator in a damaged record must not make us walk the whole address space.
constexpr size_t kMaxNameLength = 4096;
constexpr WORD kMaxItems = 1024;

class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}

    bool Ok() const { return m_ok; }
    const std::string& Error() const { return m_error; }

    void Fail(const char* why)
    {
        if (m_ok)
            m_error = why;
        m_ok = false;
    }

    bool Need(size_t bytes)
    {
        if (!m_ok)
            return false;
        if (bytes > m_size - m_offset) {
            Fail("the dialog template ends inside a record");
            return false;
        }
        return true;
    }

    WORD Word()
    {
        if (!Need(2))
            return 0;
        WORD value;
        std::memcpy(&value, m_data + m_offset, 2);
        m_offset += 2;
        return value;
    }

    DWORD Dword()
    {
        if (!Need(4))
            return 0;
        DWORD value;
        std::memcpy(&value, m_data + m_offset, 4);
        m_offset += 4;
        return value;
    }

    short Short() { return static_cast<short>(Word()); }
    BYTE Byte()
    {
        if (!Need(1))
            return 0;
        return m_data[m_offset++];
    }

    std::u16string String()
    {
        std::u16string text;
        for (;;) {
            WORD unit = Word();
            if (!m_ok || unit == 0)
                break;
            if (text.size() >= kMaxNameLength) {
                Fail("a name in the dialog template has no terminator");
                break;
            }
            text.push_back(static_cast<char16_t>(unit));
        }
        return text;
    }

    NameOrOrdinal NameOrOrdinalField()
    {
        NameOrOrdinal field;
        if (!Need(2))
            return field;
        WORD first;
        std::memcpy(&first, m_data + m_offset, 2);
        if (first == 0xFFFF) {
            m_offset += 2;
            field.isOrdinal = true;
            field.ordinal = Word();
        } else {
            field.name = String();
        }
        return field;
    }

    void Align(size_t boundary)
    {
        size_t aligned = (m_offset + boundary - 1) / boundary * boundary;
        if (aligned > m_size) {
            // A last record may legitimately end exactly at the end; only skipping past it is an error.
            m_offset = m_size;
            return;
        }
        m_offset = aligned;
    }

    void Bytes(size_t count, std::vector<BYTE>* out)
    {
        if (!Need(count))
            return;
        out->assign(m_data + m_offset, m_data + m_offset + count);
        m_offset += count;
    }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_offset = 0;
    bool m_ok = true;
    std::string m_error;
};

void ReadItem(TemplateReader& in, bool extended, DialogItem* item)
{
    in.Align(4);
    if (extended) {
        item->helpId = in.Dword();
        item->exStyle = in.Dword();
        item->style = in.Dword();
    } else {
        item->style = in.Dword();
        item->exStyle = in.Dword();
    }
    item->x = in.Short();
    item->y = in.Short();
    item->cx = in.Short();
    item->cy = in.Short();
    item->id = extended ? in.Dword() : in.Word();
    item->windowClass = in.NameOrOrdinalField();
    item->title = in.NameOrOrdinalField();
    WORD extra = in.Word();
    if (extended) {
        // The count excludes itself.
        if (extra > 0) {
            in.Align(2);
            in.Bytes(extra, &item->creationData);
        }
    } else if (extra >= 2) {
        // The count includes the size word itself.
        in.Bytes(extra - 2u, &item->creationData);
    } else if (extra == 1) {
        in.Fail("a dialog item has an impossible creation-data size");
    }
}

} // namespace

bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate* out, std::string* error)
{
    *out = DialogTemplate{};
    if (data == nullptr) {
        if (error)
            *error = "no dialog template";
        return false;
    }
    TemplateReader in(static_cast<const BYTE*>(data), size);
    WORD first = in.Word();
    WORD second = in.Word();
    WORD count = 0;
    if (first == 1 && second == 0xFFFF) {
        out->extended = true;
        out->helpId = in.Dword();
        out->exStyle = in.Dword();
        out->style = in.Dword();
    } else {
        out->style = static_cast<DWORD>(first) | (static_cast<DWORD>(second) << 16);
        out->exStyle = in.Dword();
    }
    count = in.Word();
    out->x = in.Short();
    out->y = in.Short();
    out->cx = in.Short();
    out->cy = in.Short();
    out->menu = in.NameOrOrdinalField();
    out->windowClass = in.NameOrOrdinalField();
    out->title = in.String();
    if (out->style & DS_SETFONT) {
        out->hasFont = true;
        out->pointSize = in.Word();
        if (out->extended) {
            out->weight = in.Word();
            out->italic = in.Byte();
            out->charset = in.Byte();
        }
        out->typeface = in.String();
    }
    if (count > kMaxItems)
        in.Fail("the dialog template claims too many items");
    for (WORD i = 0; i < count && in.Ok(); ++i) {
        DialogItem item;
        ReadItem(in, out->extended, &item);
        if (in.Ok())
            out->items.push_back(std::move(item));
    }
    if (!in.Ok()) {
        if (error)
            *error = in.Error();
        out->items.clear();
        return false;
    }
    return true;
}

std::u16string PredefinedClassName(WORD atom)
{
    switch (atom) {
    case 0x80:
        return u"button";
    case 0x81:
        return u"edit";
    case 0x82:
        return u"static";
    case 0x83:
        return u"listbox";
    case 0x84:
        return u"scrollbar";
    case 0x85:
        return u"combobox";
    default:
        return {};
    }
}

} // namespace cehost::controls
