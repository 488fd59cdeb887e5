// What the tools know of the running mail client: how to find it, where
// its windows sit, and its own command values.
#ifndef CLIENT_CLIENT_H
#define CLIENT_CLIENT_H

// Class names match without regard to case; the tools have always used
// both spellings and keep doing so.
#define CLIENT_CLASS_LOWER "tiwren"
#define CLIENT_CLASS "TiWren"

// DDE service and topic are the same text.
#define CLIENT_DDE_NAME "TiWren"

// Mail list: the child at the top of the Z order, taken this many times
// from the main window.
enum { MAIL_LIST_DEPTH = 3 };

// Template box: combo box, direct child of the main window.
enum { TEMPLATE_BOX_ID = 110 };

// Mailbox windows are grandchildren of the main window of this class;
// a class name that begins with it counts too.
#define MAILBOX_CLASS "TI-Wren BoxClass"
enum { MAILBOX_CLASS_LEN = 16 };

// Open-mail-view request: WM_USER + 121, wParam 3, lParam 0.
enum {
	OPEN_VIEW_MESSAGE = 0x0400 + 121,
	OPEN_VIEW_WPARAM = 3
};

// WM_COMMAND identifiers of the main window.
enum {
	CMD_REPLY_VIEW = 202,
	CMD_FORWARD_VIEW = 203,
	CMD_DELETE_MAIL = 204,
	CMD_MOVE_TO_FOLDER = 207,
	CMD_EMPTY_DUST_BOX = 104
};

#endif
