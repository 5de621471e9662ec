// The helpers every screen of the notebook uses.
#include "NotebookUi.h"

#include "LxString.h"

void CopyText(WCHAR* target, const WCHAR* text) {
    size_t i = 0;
    for (; text[i] && i + 1 < kTextCapacity; ++i) target[i] = text[i];
    target[i] = 0;
}

int Ask(const WCHAR* question, const WCHAR* caption, UINT buttons) {
    return LxString(question).MessageBoxW(LxString(caption), buttons | MB_ICONQUESTION);
}

void Warn(const WCHAR* text, const WCHAR* caption, UINT icon) {
    LxString(text).MessageBoxW(LxString(caption), icon);
}
