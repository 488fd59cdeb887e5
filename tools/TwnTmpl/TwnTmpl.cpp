// TwnTmpl: select a template by name in the running mail client.
#include <stdio.h>
#include <windows.h>

#include "client.h"

static const char USAGE[] =
	"Usage TwnTmpl [Template Name]\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n";

enum {
	EXIT_NORMAL = 0,
	EXIT_PARAMETER = 1,
	EXIT_NO_CLIENT = 2
};

// CB_SELECTSTRING searches from the top of the list when wParam is -1.
enum { FROM_TOP = -1 };

int main(int argc, char **argv)
{
	HWND client, box;

	if (argc < 2) {
		fputs(USAGE, stderr);
		return EXIT_PARAMETER;
	}
	if (!(client = FindWindowA(CLIENT_CLASS_LOWER, NULL)))
		return EXIT_NO_CLIENT;
	// Without its template box the client has nothing to select.
	if ((box = GetDlgItem(client, TEMPLATE_BOX_ID)))
		SendMessageA(box, CB_SELECTSTRING, (WPARAM)FROM_TOP,
		             (LPARAM)argv[1]);
	return EXIT_NORMAL;
}
