// "表示設定２": what the bar shows without lyrics, how long lines scroll, and the window pick.
#include "config/PageRules.h"
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "config/SheetState.h"
#include "resources/ResourceIds.h"

namespace {

// Each radio button of this page is a group of its own, so the page keeps each set exclusive.
void choose(HWND page, int first, int id, int32_t& setting) {
    setting = id - first;
    OtherButtons others = otherButtons(first, id);
    checkItem(page, others.first, false);
    checkItem(page, others.second, false);
    reportChanged(page);
}

void initialise(SheetState& state, HWND page) {
    if (int button = buttonForValue(IDC_LSET_FIRST, state.liveSettings.Lset)) checkItem(page, button, true);
    if (int button = buttonForValue(IDC_WSET_FIRST, state.liveSettings.Wset)) checkItem(page, button, true);
}

void command(SheetState& state, HWND page, int id, int) {
    if (id >= IDC_LSET_FIRST && id < IDC_LSET_FIRST + 3) {
        choose(page, IDC_LSET_FIRST, id, state.liveSettings.Lset);
    } else if (id >= IDC_WSET_FIRST && id < IDC_WSET_FIRST + 3) {
        choose(page, IDC_WSET_FIRST, id, state.liveSettings.Wset);
    } else if (id == IDC_PICK_WINDOW && state.barWindow) {
        // The bar finishes the pick at the next left click. Without a bar (config before init)
        // nothing could finish it, so it does not start.
        state.startWindowPick();
    }
}

}  // namespace

INT_PTR CALLBACK displayPage2Proc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, nullptr, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
