// Builds dialog templates in memory, field by field, the way a resource compiler lays them out.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

class TemplateBuilder {
public:
    TemplateBuilder& Word(WORD v) { return Raw(&v, 2); }
    TemplateBuilder& Dword(DWORD v) { return Raw(&v, 4); }
    TemplateBuilder& Short(short v) { return Raw(&v, 2); }
    TemplateBuilder& Byte(BYTE v) { return Raw(&v, 1); }
    TemplateBuilder& String(const std::u16string& s) {
        for (char16_t c : s) Word(static_cast<WORD>(c));
        return Word(0);
    }
    TemplateBuilder& Ordinal(WORD v) { return Word(0xFFFF).Word(v); }
    TemplateBuilder& Align(size_t n) {
        while (m_bytes.size() % n) m_bytes.push_back(0);
        return *this;
    }

    // A classic template header: style, exStyle, count, rectangle, no menu, default class, title.
    TemplateBuilder& Dialog(DWORD style, WORD count, short x, short y, short cx, short cy, const std::u16string& title) {
        return Dword(style).Dword(0).Word(count).Short(x).Short(y).Short(cx).Short(cy).Word(0).Word(0).String(title);
    }
    // A classic item with a predefined class atom.
    TemplateBuilder& Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
                          const std::u16string& title) {
        return Align(4).Dword(style).Dword(0).Short(x).Short(y).Short(cx).Short(cy).Word(id).Ordinal(atom).String(
            title).Word(0);
    }

    const void* Data() const { return m_bytes.data(); }
    size_t Size() const { return m_bytes.size(); }
    std::vector<BYTE>& Bytes() { return m_bytes; }

private:
    TemplateBuilder& Raw(const void* p, size_t n) {
        const BYTE* b = static_cast<const BYTE*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
        return *this;
    }
    std::vector<BYTE> m_bytes;
};
