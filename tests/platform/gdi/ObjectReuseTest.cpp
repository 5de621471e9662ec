// Freed DCs and bitmaps are made again from the same memory and slots: what a program can see of them must be
// that of new objects, and the old handles must stay dead.
#include <gtest/gtest.h>
#include <windows.h>

#include <cehost/sim.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

TEST(ObjectReuse, RemadeDcsAndBitmapsAreFreshAndOldHandlesStayDead) {
    const long objects = cehost::sim::GdiObjectCount();
    // More at once than are kept for reuse, twice: the second round is made from what the first freed.
    const int kCount = 24;
    std::vector<HDC> before;
    for (int round = 0; round < 2; ++round) {
        std::vector<HDC> dcs;
        for (int i = 0; i < kCount; ++i) {
            HDC dc = CreateCompatibleDC(nullptr);
            ASSERT_NE(nullptr, dc);
            EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(dc, OBJ_PEN)) << "round " << round;
            EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetCurrentObject(dc, OBJ_BRUSH));
            EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc)) << "round " << round;
            BITMAP bm{};
            ASSERT_EQ(int(sizeof bm), GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm));
            EXPECT_EQ(1, bm.bmWidth) << "a fresh memory DC holds the 1 x 1 default bitmap";
            HBITMAP bitmap = CreateCompatibleBitmap(dc, 3 + i, 2);
            HGDIOBJ old = SelectObject(dc, bitmap);
            SetLastError(0);
            EXPECT_FALSE(DeleteObject(bitmap)) << "a selected bitmap cannot be deleted";
            EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
            SetTextColor(dc, RGB(9, 9, 9));
            EXPECT_EQ(HGDIOBJ(bitmap), SelectObject(dc, old));
            EXPECT_TRUE(DeleteObject(bitmap));
            EXPECT_EQ(0u, GetObjectType(bitmap));
            dcs.push_back(dc);
        }
        for (HDC dc : dcs) EXPECT_TRUE(DeleteDC(dc));
        for (HDC dc : before) {
            SetLastError(0);
            EXPECT_FALSE(DeleteDC(dc)) << "a handle of the first round, its slot since reused";
            EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
            EXPECT_EQ(CLR_INVALID, GetTextColor(dc));
        }
        before = dcs;
    }
    EXPECT_EQ(objects, cehost::sim::GdiObjectCount());
}

// GetObjectW copies as much of the structure as the buffer holds, and answers the size it needs without one.
TEST(ObjectReuse, GetObjectCopiesWhatTheBufferHolds) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 5, 3);
    const int kThroughWidth = int(offsetof(BITMAP, bmHeight));
    struct Case {
        int size;
        bool buffer;
        int expected;
    };
    const Case kCases[] = {
        {int(sizeof(BITMAP)), true, int(sizeof(BITMAP))},
        {int(sizeof(BITMAP)) + 8, true, int(sizeof(BITMAP))},
        {kThroughWidth, true, kThroughWidth},
        {0, true, 0},
        {-4, true, 0},
        {0, false, int(sizeof(BITMAP))},
    };
    for (const Case& c : kCases) {
        unsigned char buffer[sizeof(BITMAP) + 8];
        std::memset(buffer, 0xAB, sizeof buffer);
        EXPECT_EQ(c.expected, GetObjectW(bitmap, c.size, c.buffer ? buffer : nullptr)) << "size " << c.size;
        if (!c.buffer) continue;
        const int written = c.expected;
        for (int i = written; i < int(sizeof buffer); ++i) ASSERT_EQ(0xAB, buffer[i]) << "size " << c.size << " byte " << i;
        if (written >= kThroughWidth) {
            BITMAP bm;
            std::memcpy(&bm, buffer, size_t(kThroughWidth));
            EXPECT_EQ(0, bm.bmType);
            EXPECT_EQ(5, bm.bmWidth);
        }
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace
