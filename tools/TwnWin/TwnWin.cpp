// TwnWin: minimise, restore, maximise, hide or show the running mail
// client's main window. It writes nothing, not even a usage text.
#include <windows.h>

#include "client.h"
#include "keyword.h"

enum {
	EXIT_NORMAL = 0,
	EXIT_PARAMETER = 1,
	EXIT_NO_CLIENT = 2
};

// The window states go through the window's own system command, posted;
// hiding and showing are done on the window directly.
enum Way { POST_SYSCOMMAND, SHOW_WINDOW };

struct Action {
	const char *keyword;
	Way way;
	WPARAM value;
};

static const Action ACTIONS[] = {
	{"ic", POST_SYSCOMMAND, SC_MINIMIZE},
	{"no", POST_SYSCOMMAND, SC_RESTORE},
	{"max", POST_SYSCOMMAND, SC_MAXIMIZE},
	{"hide", SHOW_WINDOW, SW_HIDE},
	{"show", SHOW_WINDOW, SW_SHOW},
};

int main(int argc, char **argv)
{
	HWND client;
	const Action *action;

	if (argc < 2)
		return EXIT_PARAMETER;
	if (!(client = FindWindowA(CLIENT_CLASS, NULL)))
		return EXIT_NO_CLIENT;
	if (!(action = find_keyword(argv[1], ACTIONS)))
		return EXIT_PARAMETER;
	if (action->way == POST_SYSCOMMAND)
		PostMessageA(client, WM_SYSCOMMAND, action->value, 0);
	else
		ShowWindow(client, (int)action->value);
	return EXIT_NORMAL;
}
