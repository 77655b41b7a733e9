// "VexHyperLink": an underlined label whose window text is "label<TAB>target"; clicking it,
// or Space while it has the focus, opens the target through the shell. A right click or
// the context-menu key offers "&Execute link" and "&Copy link". Styles: CTLS_NOFOCUS,
// CTLS_NOTIFY (see CtlStyles.h). The control answers WM_GETFONT with its shared font.
#pragma once
#include <windows.h>

#include "controls/CtlStyles.h"

extern const char szHC[];  // "VexHyperLink"

// Popup menu commands, also accepted as WM_COMMAND sent to the control.
const UINT HYPERLINK_CMD_EXECUTE = 1;
const UINT HYPERLINK_CMD_COPY = 2;

// Loads the cursors, builds the popup menu (once per module) and registers the class for
// the module this code is built into; the class atom, 0 on failure (also when already
// registered).
ATOM RegisterHyperLinkCtl();
LRESULT CALLBACK HyperLinkWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Puts the link target on the clipboard, owned by the control's parent; 1 on success.
int CopyLink(HWND wnd);
