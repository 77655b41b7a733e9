// Who frees what: auto-freed objects go with their window, the others outlive it, and
// nothing is leaked or freed twice. The program allocates the objects with its own new and
// the library deletes them, so both must use the same heap.
#include <gtest/gtest.h>

#include <malloc.h>

#include "tests/vexplot/vexplot_test_util.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const DWORD kVisible = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

// One life of an auto-freed window that is drawn on, resized, recorded and closed.
void OneAutoFreedWindow()
{
    VexGraphWindow* w = vt::NewWindow(160, 120, kVisible, vt::CountingRedraw, 1);
    HWND hwnd = w->GetWindow();
    w->SetLineStyle(PS_SOLID, 3);
    w->MoveTo(0, 0);
    w->LineTo(100, 100, kRed);
    w->Line(5, 5, 150, 5, kRed);
    w->DrawLabel(150, 110, static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)), "1,2500", kRed);
    w->Resize(200, 150, VEX_RESIZE_STRETCH, 1);
    w->BeginRecordMetaFile(NULL, NULL);
    w->Clear();
    DeleteEnhMetaFile(w->EndRecordMetaFile(NULL));
    w->SetRefresh(1000);
    UpdateWindow(hwnd);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(VexLifecycle, TheProgramsNewAndTheLibrarysDeleteShareOneHeap)
{
    size_t heap_before = vt::HeapInUse();
    VexGraphWindow* w = vt::NewWindow(20, 20, WS_OVERLAPPEDWINDOW, vt::CountingRedraw, 1);
    // The program's new took the object from the C runtime's heap...
    EXPECT_GE(_msize(w), sizeof(VexGraphWindow));
    EXPECT_GE(vt::HeapInUse(), heap_before + sizeof(VexGraphWindow));
    // ...and the library's delete at WM_DESTROY gave it back there.
    DestroyWindow(w->GetWindow());
    EXPECT_EQ(vt::HeapInUse(), heap_before);
}

TEST(VexLifecycle, CreatingAndClosingWindowsRepeatedlyLeaksNothing)
{
    OneAutoFreedWindow();  // the first window may leave lasting objects in the system
    size_t heap_before = vt::HeapInUse();
    int gdi_before = vt::GdiObjectCount();
    for (int i = 0; i < 40; ++i)
        OneAutoFreedWindow();
    EXPECT_EQ(vt::HeapInUse(), heap_before);
    EXPECT_EQ(vt::GdiObjectCount(), gdi_before);
}

TEST(VexLifecycle, AnObjectWithoutAutoFreeOutlivesItsWindow)
{
    size_t heap_before = vt::HeapInUse();
    int gdi_before = vt::GdiObjectCount();
    VexGraphWindow* w = vt::NewWindow(80, 60, kVisible, vt::CountingRedraw, 0);
    HWND hwnd = w->GetWindow();
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));

    // The picture lives on; the window is forgotten, so window calls cannot reach another
    // window that gets the same handle later.
    EXPECT_EQ(w->GetWindow(), nullptr);
    w->Clear(kRed);
    w->SetPixel(3, 3, RGB(0, 0, 255));
    EXPECT_EQ(w->GetPixel(2, 2), kRed);
    EXPECT_EQ(w->GetPixel(3, 3), RGB(0, 0, 255));
    EXPECT_EQ(w->GetMaxX(), 79);
    w->ShrinkWindow();
    w->FullScreen(1, 0);
    EXPECT_EQ(w->IsFullScreen(), 0);
    w->SetRefresh(10);
    w->Resize(40, 30, VEX_RESIZE_COPY, 1);
    EXPECT_EQ(w->GetPixel(2, 2), kRed);

    delete w;
    EXPECT_EQ(vt::HeapInUse(), heap_before);
    EXPECT_EQ(vt::GdiObjectCount(), gdi_before);
}

// Watches the library's WM_DESTROY of one window.
WNDPROC library_proc = NULL;
VexGraphWindow* object_at_destroy = NULL;
int auto_free_at_destroy = -1;

LRESULT CALLBACK WatchDestroy(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam)
{
    if (msg == WM_DESTROY) {
        object_at_destroy = VexGraphWindow::GetThis(hwnd);
        if (object_at_destroy) {
            auto_free_at_destroy = object_at_destroy->AutoFree(0);
            object_at_destroy->AutoFree(auto_free_at_destroy);
        }
    }
    return CallWindowProcA(library_proc, hwnd, msg, wparam, lparam);
}

TEST(VexLifecycle, DeletingAnAutoFreedObjectWithItsWindowOpenFreesItOnce)
{
    VexGraphWindow* warm = vt::NewWindow(50, 40, kVisible, vt::CountingRedraw, 1);
    delete warm;
    size_t heap_before = vt::HeapInUse();
    int gdi_before = vt::GdiObjectCount();

    VexGraphWindow* w = vt::NewWindow(50, 40, kVisible, vt::CountingRedraw, 1);
    HWND hwnd = w->GetWindow();
    library_proc = w->Subclass(WatchDestroy);
    ASSERT_EQ(library_proc, &VexGraphWindow::WindowProcedure);
    delete w;
    EXPECT_FALSE(IsWindow(hwnd));
    // The window's destruction saw the object still there, but no longer to be freed by it.
    EXPECT_EQ(object_at_destroy, w);
    EXPECT_EQ(auto_free_at_destroy, 0);
    EXPECT_EQ(vt::HeapInUse(), heap_before);
    EXPECT_EQ(vt::GdiObjectCount(), gdi_before);
}

}  // namespace
