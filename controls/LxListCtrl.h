// The keypad list with typed rows: each row is an item record with a text, up to three 30-pixel slots in
// front of it (check box, hot-key character, image or blank), row backgrounds and text colours. The Select
// key toggles a row's check box and moves on, or in direct mode reports the row to the parent; typing a
// row's hot-key character jumps to it.
#pragma once

#include <cstddef>

#include "LxListBase.h"

// Slot kinds of an item, from left to right; the first slot of kind LXLS_NONE ends the slots.
#define LXLS_NONE 0
#define LXLS_CHECK 1
#define LXLS_CHAR 2
#define LXLS_IMAGE 3
#define LXLS_BLANK 4

class LxListCtrl : public LxListBase {
public:
    class LxListCtrlString {
    public:
        LxListCtrlString(UINT nKind1, UINT nKind2, UINT nKind3, int bCheck, WCHAR wHotKey, UINT nImageSelect,
                         UINT nImageNormal, UINT nBackSelect, UINT nBackNormal, DWORD crNormal, DWORD crSelect,
                         const WCHAR* pszText);
        LxListCtrlString(const LxListCtrlString& other) = default;
        LxListCtrlString& operator=(const LxListCtrlString& other) = default;
        // Records are kept in blocks shared by every list (see LxListCtrl.cpp).
        static void* operator new(std::size_t size);
        static void operator delete(void* pRecord, std::size_t size) noexcept;
        void SetCheck(int bCheck);

        UINT m_nKind[3];
        int m_bCheck;
        WCHAR m_wHotKey;
        UINT m_nImageSelect;
        UINT m_nImageNormal;
        UINT m_nBackSelect;
        UINT m_nBackNormal;
        DWORD m_crNormal;
        DWORD m_crSelect;
        WCHAR m_szText[1024];
    };

    LxListCtrl();
    LxListCtrl(const LxListCtrl& other);
    LxListCtrl& operator=(const LxListCtrl& other);
    ~LxListCtrl() override;

    int AddItem(UINT nKind1, UINT nKind2, UINT nKind3, int bCheck, WCHAR wHotKey, UINT nImageSelect,
                UINT nImageNormal, UINT nBackSelect, UINT nBackNormal, DWORD crNormal, DWORD crSelect,
                const WCHAR* pszText);
    int AddItem(const WCHAR* pszText);
    int AddItemForIcon(const WCHAR* pszText, UINT nImageSelect, UINT nImageNormal);
    int AddItemForChar(const WCHAR* pszText, WCHAR wHotKey);
    int AddItemForCheck(const WCHAR* pszText, int bCheck, int bBlank);
    int SetItem(UINT nIndex, const WCHAR* pszText);
    int GetItem(UINT nIndex, WCHAR* pszBuffer);
    int DeleteItem(UINT nIndex);
    void SetCheck(UINT nIndex, int bCheck);
    int GetCheck(UINT nIndex);
    void SetDataColor(DWORD crNormal, DWORD crSelect);
    void SetIcon(UINT nFirst, UINT nSecond);
    void SetImage(UINT nFirst, UINT nSecond);
    void SetDirectMode();

    long OnWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam, int* pPassOn) override;
    int OnDrawitem(UINT wParam, LPARAM lParam) override;
    void OnKey(UINT nKey) override;

protected:
    // A derived list chooses a row's text colour here: non-zero with the colour set overrides the item's.
    virtual int GetColorUserDefine(UINT nItem, DWORD& crColor, int bSelected);

    int IsDirectMode();
    void GetAreaRect(UINT nSlot, RECT* pRow, RECT* pOut);
    void DrawBitmap(HDC hdc, RECT* pArea, UINT nCode);
    void OnSelect();
    int IsExistChar(WCHAR wChar, const WCHAR* pszSet);
    int GetHotKeyPos(WCHAR wChar);

    int m_bDirectMode;
    UINT m_nIconID[2];
    UINT m_nImageID[2];
    DWORD m_crDataNormal;
    DWORD m_crDataSelect;
    SwArray<LxListCtrlString*> m_Items;

private:
    LxListCtrlString* ItemAt(UINT nIndex);
    bool IsHotKeyChar(WCHAR wChar);
    void ReleaseItems();
    void CopyItems(const LxListCtrl& other);
    void PostCommand();
};
