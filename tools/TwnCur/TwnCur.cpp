// TwnCur: move the cursor in the running mail client's mail list.
#include <stdio.h>
#include <windows.h>

#include "client.h"
#include "keyword.h"
#include "position.h"

static const char USAGE[] =
	"Usage TwnCur [up|do(wn)|top|bot(tom)|number]\n"
	"  up      : Move Up\n"
	"  do(wn)  : Move Down\n"
	"  top     : Move Top\n"
	"  bot(tom): Move Bottom\n"
	"  number  : Move number from Top(Top is 0)\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n";

enum {
	EXIT_NORMAL = 0,
	EXIT_PARAMETER = 1,
	EXIT_NO_CLIENT = 2
};

// LB_SETSEL: wParam selects or clears, lParam -1 stands for every item.
enum { SEL_CLEAR = 0, SEL_SET = 1, ALL_ITEMS = -1 };

struct Move {
	const char *keyword;
	WPARAM key;
};

static const Move MOVES[] = {
	{"up", VK_UP},
	{"do", VK_DOWN},
	{"top", VK_HOME},
	{"bot", VK_END},
};

// The mail list, or null when a level of the walk is missing.
static HWND find_mail_list(HWND client)
{
	HWND window = client;

	for (int i = 0; i < MAIL_LIST_DEPTH && window; i++)
		window = GetTopWindow(window);
	return window;
}

int main(int argc, char **argv)
{
	HWND client, list;
	const Move *move;
	int position;

	if (argc < 2) {
		fputs(USAGE, stderr);
		return EXIT_PARAMETER;
	}
	if (!(client = FindWindowA(CLIENT_CLASS, NULL)))
		return EXIT_NO_CLIENT;
	// A client without its mail list in place is not an error.
	if (!(list = find_mail_list(client)))
		return EXIT_NORMAL;
	if ((move = find_keyword(argv[1], MOVES))) {
		SendMessageA(list, WM_KEYDOWN, move->key, 0);
		SendMessageA(list, WM_KEYUP, move->key, 0);
		return EXIT_NORMAL;
	}
	if (!read_position(argv[1], &position))
		return EXIT_PARAMETER;
	SendMessageA(list, LB_SETSEL, SEL_CLEAR, ALL_ITEMS);
	SendMessageA(list, LB_SETSEL, SEL_SET, position);
	return EXIT_NORMAL;
}
