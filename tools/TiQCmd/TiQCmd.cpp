// TiQCmd: give the running send editor its send or pending command, or
// select a signature by name in it.
#include <stdio.h>
#include <windows.h>

#include "keyword.h"

static const char USAGE[] =
	"Usage TiQCmd [send|pend(ing)|sig(nature) [Sig. Name]]\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find TiQuil\n";

enum {
	EXIT_NORMAL = 0,
	EXIT_PARAMETER = 1,
	EXIT_NO_EDITOR = 2
};

// The send editor is a program of its own; only this tool drives it.
static const char EDITOR_CLASS[] = "TIQuilEditor";
enum {
	CMD_SEND = 121,
	CMD_PENDING = 106,
	SIGNATURE_BOX_ID = 9
};

// CB_SELECTSTRING searches from the top of the list when wParam is -1.
enum { FROM_TOP = -1 };

enum Way { SEND_COMMAND, SELECT_SIGNATURE };

struct Action {
	const char *keyword;
	Way way;
	WPARAM command;
};

static const Action ACTIONS[] = {
	{"send", SEND_COMMAND, CMD_SEND},
	{"pend", SEND_COMMAND, CMD_PENDING},
	{"sig", SELECT_SIGNATURE, 0},
};

int main(int argc, char **argv)
{
	HWND editor, box;
	const Action *action;

	if (argc < 2) {
		fputs(USAGE, stderr);
		return EXIT_PARAMETER;
	}
	if (!(editor = FindWindowA(EDITOR_CLASS, NULL)))
		return EXIT_NO_EDITOR;
	if (!(action = find_keyword(argv[1], ACTIONS)))
		return EXIT_PARAMETER;
	if (action->way == SEND_COMMAND)
		SendMessageA(editor, WM_COMMAND, action->command, 0);
	// Without a name or a signature box there is nothing to select, and
	// that is no error.
	else if (argc > 2 && (box = GetDlgItem(editor, SIGNATURE_BOX_ID)))
		SendMessageA(box, CB_SELECTSTRING, (WPARAM)FROM_TOP,
		             (LPARAM)argv[2]);
	return EXIT_NORMAL;
}
