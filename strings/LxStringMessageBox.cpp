// LxString::MessageBoxW: the string shown in the platform's message box, with no owner window.
#include "LxString.h"

int LxString::MessageBoxW(LxString caption, unsigned int type)
{
    // An empty or absent caption would leave the title bar blank; one space keeps it a title.
    if (caption.GetLength() < 1)
        caption = " ";
    // The wide copies belong to the two strings and live until the end of this call.
    WCHAR* text = GetStringW();
    WCHAR* title = caption.GetStringW();
    return ::MessageBoxW(nullptr, text, title, type);
}
