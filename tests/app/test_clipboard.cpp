// Copy, Cut and Paste of one point as clipboard text.
#include <cstdlib>
#include <thread>

#include "core/calc.h"
#include "resources/resource.h"
#include "tests/app/app_test.h"
#include "tests/e2e/driver.h"
#include "tests/support/testui.h"

namespace apptest {
namespace {

using Clipboard = AppTest;

void Command(UINT id) {
    SendMessageA(hwndMain, WM_COMMAND, id, 0);
}

void PutText(const std::string& text) { ASSERT_TRUE(driver::PutClipboardText(text)); }
std::string GetText() { return driver::ClipboardText(); }

// Holds the clipboard open from another thread while it lives.
class ClipboardHeld {
public:
    ClipboardHeld() {
        opened_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] {
            ok_ = driver::OpenClipboardSoon();
            SetEvent(opened_);
            WaitForSingleObject(release_, INFINITE);
            if (ok_) CloseClipboard();
        });
        WaitForSingleObject(opened_, INFINITE);
    }
    ~ClipboardHeld() {
        SetEvent(release_);
        thread_.join();
        CloseHandle(opened_);
        CloseHandle(release_);
    }
    bool ok() const { return ok_; }

private:
    HANDLE opened_, release_;
    bool ok_ = false;
    std::thread thread_;
};

TEST_F(Clipboard, CopyWritesVbTabEWithSixDecimalsAndAPointAndBeepsWithoutAPoint) {
    ASSERT_TRUE(use_comma);
    Load({{1.5, -120}, {2, 20}});
    PutText("keep");
    testui::BeepCounter beeps;
    EXPECT_EQ(Copy(), 0);
    Cut();
    EXPECT_EQ(beeps.exclamations(), 2);
    EXPECT_EQ(GetText(), "keep");

    SelectListItem(0);
    Command(IDM_COPY);
    EXPECT_EQ(GetText(), "1.500000\t-120.000000");
    EXPECT_EQ(Document().size(), 2u);
    EXPECT_FALSE(dirty);

    // A huge value is written whole.
    Load({{1e300, -1e300}});
    SelectListItem(0);
    EXPECT_EQ(Copy(), 1);
    const std::string text = GetText();
    EXPECT_EQ(text.size(), 2u * (301 + 7) + 2);
    EXPECT_EQ(text.substr(0, 4), "1000");
    EXPECT_NE(text.find("\t-1000"), std::string::npos);
}

TEST_F(Clipboard, PasteOntoAnExistingVbReplacesItWithoutAsking) {
    Load({{1, 10}, {2, 20}, {3, 30}});
    SelectListItem(1);
    Command(IDM_COPY);
    ListView_SetItemState(hwndList, -1, 0, LVIS_SELECTED);
    testui::ModalScript ui;
    Command(IDM_PASTE);
    EXPECT_TRUE(ui.seen().empty());
    EXPECT_EQ(Document(), (Points{{1, 10}, {2, 20}, {3, 30}}));
    EXPECT_EQ(GetSelectedPoint(), 1);
    EXPECT_TRUE(dirty);

    PutText("2\t-5");
    Command(IDM_PASTE);
    EXPECT_TRUE(ui.seen().empty());
    EXPECT_EQ(Document(), (Points{{1, 10}, {2, -5}, {3, 30}}));
    EXPECT_EQ(GetSelectedPoint(), 1);
}

TEST_F(Clipboard, PasteTakesTheFirstTwoTokensOfTheFirst255Bytes) {
    PutText("  1,5\r\n200 mV\r\n3\t4\r\n");
    Command(IDM_PASTE);
    EXPECT_EQ(Document(), (Points{{1.5, 200}}));
    EXPECT_EQ(GetSelectedPoint(), 0);
    EXPECT_TRUE(dirty);

    PutText("2.5ml\t-3e2;x 17");
    Command(IDM_PASTE);
    EXPECT_EQ(Document(), (Points{{1.5, 200}, {2.5, -300}}));
    EXPECT_EQ(GetSelectedPoint(), 1);

    // The E token starts at byte 254: only its first digit is within reach.
    Load({});
    PutText(std::string(250, ' ') + "1.5 " + "200");
    Command(IDM_PASTE);
    EXPECT_EQ(Document(), (Points{{1.5, 2}}));

    // A Vb token beyond them leaves nothing to paste.
    testui::BeepCounter beeps;
    PutText(std::string(255, ' ') + "7 70");
    Command(IDM_PASTE);
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_EQ(Document(), (Points{{1.5, 2}}));
}

TEST_F(Clipboard, PasteOfTextThatIsNotAPointOnlyBeeps) {
    Load({{1, 10}});
    testui::BeepCounter beeps;
    for (const char* text : {"12.5", "12.5 ;", "abc 1", "", " \r\n "}) {
        PutText(text);
        Command(IDM_PASTE);
    }
    EXPECT_EQ(beeps.exclamations(), 5);
    EXPECT_EQ(Document(), (Points{{1, 10}}));
    EXPECT_FALSE(dirty);
}

TEST_F(Clipboard, CutDeletesThePointOnlyOnceTheClipboardHoldsIt) {
    Load({{1, 10}, {2, 20}});
    PutText("keep");
    SelectListItem(0);
    testui::BeepCounter beeps;
    {
        ClipboardHeld held;
        ASSERT_TRUE(held.ok());
        Command(IDM_CUT);
    }
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_EQ(GetText(), "keep");
    EXPECT_EQ(Document(), (Points{{1, 10}, {2, 20}}));
    EXPECT_FALSE(dirty);
    EXPECT_EQ(GetSelectedPoint(), 0);

    Command(IDM_CUT);
    EXPECT_EQ(GetText(), "1.000000\t10.000000");
    EXPECT_EQ(Document(), (Points{{2, 20}}));
    EXPECT_TRUE(dirty);
    EXPECT_EQ(SelectedRow(hwndList), -1);
}

void* NoMemory(void*, std::size_t) {
    return nullptr;
}

TEST_F(Clipboard, APointThatFindsNoRoomChangesNothing) {
    Load({{1, 10}});
    // Fill the document up to the point where one more needs more storage.
    for (double vb = 2; arr_vb.count + 1 < arr_vb.capacity; ++vb) {
        arr_vb.append(ext_float_pair(ext_float(vb), ext_float(vb)));
    }
    StuffListView();
    const Points before = Document();
    const int rows = Rows(hwndList);
    PutText("100.5\t1");
    testui::BeepCounter beeps;
    dyn_array_realloc = NoMemory;
    Command(IDM_PASTE);
    dyn_array_realloc = std::realloc;
    EXPECT_EQ(beeps.exclamations(), 1);
    EXPECT_EQ(Document(), before);
    EXPECT_EQ(Rows(hwndList), rows);
    EXPECT_FALSE(dirty);
}

TEST(ParsePointText, FindsTheFirstTwoTokens) {
    ext_float_pair p;
    // Control bytes and bytes with the high bit set separate tokens, as in the data file.
    EXPECT_TRUE(ParsePointText("\x01\xA0 7\x80" "8\x7F", p));
    EXPECT_DOUBLE_EQ(p.vb.value, 7);
    EXPECT_DOUBLE_EQ(p.e.value, 8);
    EXPECT_TRUE(ParsePointText("3,25\n\n-4e1x 5", p));
    EXPECT_DOUBLE_EQ(p.vb.value, 3.25);
    EXPECT_DOUBLE_EQ(p.e.value, -40);
    EXPECT_FALSE(ParsePointText("3,25", p));
    EXPECT_FALSE(ParsePointText("3,25 ", p));
    EXPECT_FALSE(ParsePointText("x 3", p));
}

}  // namespace
}  // namespace apptest
