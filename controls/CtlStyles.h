// Window styles shared by the colour selector and the hyperlink control (their own low bits).
#pragma once

// Never takes the focus, draws no focus rectangle, answers WM_GETDLGCODE with DLGC_STATIC.
#define CTLS_NOFOCUS 0x0001
// Activation posts WM_COMMAND (BN_CLICKED) to the parent instead of acting itself.
#define CTLS_NOTIFY 0x0002
