// Handing the picture to other programs: the clipboard and enhanced metafiles.
#include "vexplot/VexGraphWindow.h"
#include "vexplot/internal.h"

namespace {

// The metafile frame in 0.01 mm for a w x h picture on the reference device.
SIZE MetaFileExtent(HDC reference, int w, int h)
{
    // 64-bit intermediate: size in mm x pixels x 100 overflows 32 bits for large bitmaps.
    long long horz_mm = GetDeviceCaps(reference, HORZSIZE);
    long long vert_mm = GetDeviceCaps(reference, VERTSIZE);
    long long horz_px = GetDeviceCaps(reference, HORZRES);
    long long vert_px = GetDeviceCaps(reference, VERTRES);
    SIZE extent = {0, 0};
    if (horz_px > 0)
        extent.cx = static_cast<LONG>(horz_mm * w * 100 / horz_px);
    if (vert_px > 0)
        extent.cy = static_cast<LONG>(vert_mm * h * 100 / vert_px);
    return extent;
}

}  // namespace

HBITMAP DuplicateBitmap(HDC source, HBITMAP bitmap)
{
    BITMAP info;
    if (!source || !bitmap || !GetObjectA(bitmap, sizeof info, &info))
        return NULL;
    HDC copy_dc;
    HBITMAP copy;
    if (!CreatePicture(info.bmWidth, info.bmHeight, &copy_dc, &copy))
        return NULL;
    BitBlt(copy_dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    DeleteDC(copy_dc);
    return copy;
}

int VexGraphWindow::CopyAsBitmap()
{
    // Copied from the bitmap's own DC, also while a recording runs.
    HBITMAP copy = DuplicateBitmap(VexGraphWindowImpl::MemoryDC(*this), bitmap);
    if (!copy)
        return 0;
    if (!OpenClipboard(NULL)) {
        DeleteObject(copy);
        return 0;
    }
    EmptyClipboard();
    // From here on the clipboard owns the copy.
    if (!SetClipboardData(CF_BITMAP, copy)) {
        CloseClipboard();
        DeleteObject(copy);
        return 0;
    }
    CloseClipboard();
    return 1;
}

int VexGraphWindow::CopyAsMetaFile()
{
    return 0;
}

int VexGraphWindow::SaveAsBitmap(const char* /*file*/)
{
    return 0;
}

int VexGraphWindow::SaveAsMetaFile(const char* /*file*/, const char* /*description*/)
{
    return 0;
}

int VexGraphWindow::BeginRecordMetaFile(const char* file, const char* description)
{
    if (recording)
        DeleteEnhMetaFile(EndRecordMetaFile(NULL));
    if (!dc)
        return 0;
    saved_dc = dc;
    SIZE extent = MetaFileExtent(saved_dc, width, height);
    RECT frame = {0, 0, extent.cx, extent.cy};
    HDC metafile_dc = CreateEnhMetaFileA(saved_dc, file, &frame, description);
    if (metafile_dc) {
        dc = metafile_dc;
        recording = 1;
        SetMapMode(dc, MM_ANISOTROPIC);
    } else {
        dc = saved_dc;
        saved_dc = NULL;
    }
    return recording;
}

HENHMETAFILE VexGraphWindow::EndRecordMetaFile(METAFILEPICT* picture)
{
    if (!recording)
        return NULL;
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    dc = saved_dc;
    saved_dc = NULL;
    recording = 0;
    if (picture) {
        SIZE extent = MetaFileExtent(dc, width, height);
        picture->mm = MM_ANISOTROPIC;
        picture->xExt = extent.cx;
        picture->yExt = extent.cy;
        picture->hMF = NULL;
    }
    return metafile;
}
