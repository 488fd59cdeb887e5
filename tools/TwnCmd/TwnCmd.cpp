// TwnCmd: make the running mail client open a view or carry out a command
// on its main window.
#include <stdio.h>
#include <windows.h>

#include "client.h"
#include "keyword.h"

static const char USAGE[] =
	"Usage TwnCmd [view|res|tra(ns)|del|fol(der)|dust]\n"
	"  view     : Open Mail View\n"
	"  res      : Open Reply View\n"
	"  tra(ns)  : Open Forword View\n"
	"  del      : Delete Current Mail\n"
	"  fol(der) : Move All Mails to Folder\n"
	"  dust     : Clean Up DustBox\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n";

enum {
	EXIT_NORMAL = 0,
	EXIT_PARAMETER = 1,
	EXIT_NO_CLIENT = 2
};

struct Command {
	const char *keyword;
	UINT message;
	WPARAM wparam;
};

static const Command COMMANDS[] = {
	{"view", OPEN_VIEW_MESSAGE, OPEN_VIEW_WPARAM},
	{"res", WM_COMMAND, CMD_REPLY_VIEW},
	{"tra", WM_COMMAND, CMD_FORWARD_VIEW},
	{"del", WM_COMMAND, CMD_DELETE_MAIL},
	{"fol", WM_COMMAND, CMD_MOVE_TO_FOLDER},
	{"dust", WM_COMMAND, CMD_EMPTY_DUST_BOX},
};

int main(int argc, char **argv)
{
	HWND client;
	const Command *command;

	if (argc < 2) {
		fputs(USAGE, stderr);
		return EXIT_PARAMETER;
	}
	if (!(client = FindWindowA(CLIENT_CLASS_LOWER, NULL)))
		return EXIT_NO_CLIENT;
	if (!(command = find_keyword(argv[1], COMMANDS)))
		return EXIT_PARAMETER;
	SendMessageA(client, command->message, command->wparam, 0);
	return EXIT_NORMAL;
}
