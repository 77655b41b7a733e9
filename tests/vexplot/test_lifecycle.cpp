// Who frees what: the program allocates the objects with its own new and the library
// deletes auto-freed ones at WM_DESTROY, so both must use the same heap; the others outlive
// their window; nothing is leaked or freed twice.
#include <gtest/gtest.h>

#include "tests/vexplot/vexplot_test_util.h"

using namespace vt;

namespace {

// One life of an auto-freed window that is drawn on, resized, recorded and closed.
void OneAutoFreedWindow()
{
    VexGraphWindow* w = NewWindow(160, 120, kVisible, 1);
    HWND hwnd = w->GetWindow();
    w->SetLineStyle(PS_SOLID, 3);
    w->Line(5, 5, 150, 5, kRed);
    w->DrawLabel(150, 110, static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)), "1,2500", kRed);
    w->Resize(200, 150, VEX_RESIZE_STRETCH, 1);
    w->BeginRecordMetaFile(NULL, NULL);
    DeleteEnhMetaFile(w->EndRecordMetaFile(NULL));
    w->SetRefresh(1000);
    UpdateWindow(hwnd);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(VexLifecycle, AutoFreedObjectsGoBackToTheProgramsHeapWithoutLeaks)
{
    OneAutoFreedWindow();  // the first window may leave lasting objects in the system
    size_t heap_before = HeapInUse();
    int gdi_before = GdiObjectCount();
    VexGraphWindow* w = NewWindow(20, 20, WS_OVERLAPPEDWINDOW, 1);
    EXPECT_GE(_msize(w), sizeof(VexGraphWindow));  // the program's new took it from the CRT heap
    EXPECT_GE(HeapInUse(), heap_before + sizeof(VexGraphWindow));
    DestroyWindow(w->GetWindow());
    EXPECT_EQ(HeapInUse(), heap_before);
    for (int i = 0; i < 40; ++i)
        OneAutoFreedWindow();
    EXPECT_EQ(HeapInUse(), heap_before);
    EXPECT_EQ(GdiObjectCount(), gdi_before);
}

TEST(VexLifecycle, AnObjectWithoutAutoFreeOutlivesItsWindowAndForgetsIt)
{
    size_t heap_before = HeapInUse();
    int gdi_before = GdiObjectCount();
    VexGraphWindow* w = NewWindow(80, 60, kVisible);
    HWND hwnd = w->GetWindow();
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    // Forgotten, so window calls cannot reach another window that gets the handle later.
    EXPECT_EQ(w->GetWindow(), nullptr);
    w->Clear(kRed);
    w->SetPixel(3, 3, kBlue);
    EXPECT_EQ(w->GetPixel(2, 2), kRed);
    EXPECT_EQ(w->GetPixel(3, 3), kBlue);
    w->ShrinkWindow();
    w->FullScreen(1, 0);
    EXPECT_EQ(w->IsFullScreen(), 0);
    w->SetRefresh(10);
    w->Resize(40, 30, VEX_RESIZE_COPY, 1);
    EXPECT_EQ(w->GetPixel(2, 2), kRed);
    delete w;
    EXPECT_EQ(HeapInUse(), heap_before);
    EXPECT_EQ(GdiObjectCount(), gdi_before);
}

// The library's procedure, and what the window's WM_DESTROY saw.
WNDPROC library_proc = NULL;
VexGraphWindow* object_at_destroy = NULL;
int auto_free_at_destroy = -1;

LRESULT CALLBACK WatchDestroy(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam)
{
    if (msg == WM_DESTROY && (object_at_destroy = VexGraphWindow::GetThis(hwnd)) != NULL) {
        auto_free_at_destroy = object_at_destroy->AutoFree(0);
        object_at_destroy->AutoFree(auto_free_at_destroy);
    }
    return CallWindowProcA(library_proc, hwnd, msg, wparam, lparam);
}

TEST(VexLifecycle, DeletingAnAutoFreedObjectWithItsWindowOpenFreesItOnce)
{
    delete NewWindow(50, 40, kVisible, 1);  // warm-up
    size_t heap_before = HeapInUse();
    int gdi_before = GdiObjectCount();
    VexGraphWindow* w = NewWindow(50, 40, kVisible, 1);
    HWND hwnd = w->GetWindow();
    library_proc = w->Subclass(WatchDestroy);
    ASSERT_EQ(library_proc, &VexGraphWindow::WindowProcedure);
    delete w;
    EXPECT_FALSE(IsWindow(hwnd));
    // The window's destruction saw the object, no longer to be freed by it.
    EXPECT_EQ(object_at_destroy, w);
    EXPECT_EQ(auto_free_at_destroy, 0);
    EXPECT_EQ(HeapInUse(), heap_before);
    EXPECT_EQ(GdiObjectCount(), gdi_before);
}

}  // namespace
