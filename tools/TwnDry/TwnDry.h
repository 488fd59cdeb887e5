// The dry-run client's windows below its main window and its send editor
// window: control identifiers and mailbox windows, for the tests that
// look at their state from outside.
#ifndef TOOLS_TWNDRY_TWNDRY_H
#define TOOLS_TWNDRY_TWNDRY_H

#include <windows.h>

// Children of the main window, in Z order from the top: the first of the
// two panes above the mail list, the template box, two areas holding the
// mailbox windows, and a window of the mailbox class that is a direct
// child. Every identifier is unique in the whole tree.
enum {
	DRY_PANE_ID = 100,
	DRY_LIST_PANE_ID = 101,
	DRY_MAIL_LIST_ID = 102,
	DRY_TEMPLATE_BOX_ID = 110,
	DRY_DIRECT_BOX_ID = 115,
	DRY_AREA_A_ID = 120,
	DRY_AREA_B_ID = 130
};

// The send editor's children.
enum { DRY_SIGNATURE_BOX_ID = 9, DRY_EDITOR_TEXT_ID = 10 };

enum { DRY_MAIL_COUNT = 12, DRY_FIRST_SELECTED = 2 };

struct DryBox {
	int parent_id; // 0: the main window
	int id;
	const char *class_name;
	const char *title;
	bool minimised; // otherwise hidden
};

#define DRY_BOX_CLASS "TI-Wren BoxClass"
#define DRY_LONG_TITLE                                                      \
	"Announcements and newsletters from every mailing list this account " \
	"is subscribed to, kept apart from the inbox so that none of them "    \
	"gets lost"

// Mailbox windows in creation order, which is their Z order under each
// parent, and the windows beside them that must not be taken for one.
static const DryBox DRY_BOXES[] = {
	{0, DRY_DIRECT_BOX_ID, DRY_BOX_CLASS, "Direct child", false},
	{DRY_AREA_A_ID, 121, DRY_BOX_CLASS, "Inbox", false},
	{121, 129, DRY_BOX_CLASS, "Nested", false},
	{DRY_AREA_A_ID, 122, DRY_BOX_CLASS, "Outbox", true},
	{DRY_AREA_A_ID, 123, DRY_BOX_CLASS, "Spam", false},
	{DRY_AREA_A_ID, 124, DRY_BOX_CLASS, "Trash", false},
	{DRY_AREA_B_ID, 131, DRY_BOX_CLASS, "Trash", false},
	{DRY_AREA_B_ID, 132, DRY_BOX_CLASS, "Sent", false},
	{DRY_AREA_B_ID, 133, DRY_BOX_CLASS, "Sent", false},
	{DRY_AREA_B_ID, 134, DRY_BOX_CLASS, "SPAM", false},
	{DRY_AREA_B_ID, 135, DRY_BOX_CLASS, "", false},
	{DRY_AREA_B_ID, 136, DRY_BOX_CLASS, DRY_LONG_TITLE, false},
	{DRY_AREA_B_ID, 137, DRY_BOX_CLASS "2", "Archive", true},
	{DRY_AREA_B_ID, 138, "TI-Wren BoxClas", "Short class", false},
};

// Mailbox windows titled with --mailbox-title, below the second area
// after the fixed ones, take the identifiers from this one on.
enum { DRY_TITLED_BOX_ID = 140, DRY_TITLED_BOX_MAX = 8 };

// A text the client records (a name asked of a combo box, a mailbox
// title) is shown whole up to this many bytes; a longer one as its first
// DRY_SHOWN_BYTES bytes, then "... (N bytes)".
enum { DRY_SHOWN_BYTES = 200 };

struct DrySearch {
	int id;
	HWND found;
};

inline BOOL CALLBACK dry_match_id(HWND hwnd, LPARAM search)
{
	DrySearch *s = (DrySearch *)search;

	if (GetDlgCtrlID(hwnd) != s->id)
		return TRUE;
	s->found = hwnd;
	return FALSE;
}

// The window with control identifier `id` anywhere below `top`, or null.
inline HWND dry_window(HWND top, int id)
{
	DrySearch s = {id, NULL};

	EnumChildWindows(top, dry_match_id, (LPARAM)&s);
	return s.found;
}

#endif
