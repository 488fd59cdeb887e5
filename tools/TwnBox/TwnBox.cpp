// TwnBox: show one of the running mail client's mailbox windows, found by
// its exact title, in its normal state. It writes nothing.
#include <string.h>
#include <windows.h>

#include "client.h"

enum {
	EXIT_NORMAL = 0,
	EXIT_PARAMETER = 1,
	EXIT_NO_CLIENT = 2,
	EXIT_NO_MAILBOX = 3
};

enum { CLASS_SIZE = 128, TITLE_SIZE = 128 };

int main(int argc, char **argv)
{
	HWND client;
	char class_name[CLASS_SIZE];
	char title[TITLE_SIZE];

	if (argc < 2)
		return EXIT_PARAMETER;
	if (!(client = FindWindowA(CLIENT_CLASS, NULL)))
		return EXIT_NO_CLIENT;
	// Only the grandchildren of the main window are mailbox windows.
	for (HWND child = GetTopWindow(client); child;
	     child = GetWindow(child, GW_HWNDNEXT)) {
		for (HWND box = GetTopWindow(child); box;
		     box = GetWindow(box, GW_HWNDNEXT)) {
			// A window that vanishes mid-walk leaves its reads empty,
			// never the previous window's names.
			class_name[0] = '\0';
			GetClassNameA(box, class_name, sizeof class_name);
			if (strncmp(class_name, MAILBOX_CLASS, MAILBOX_CLASS_LEN) != 0)
				continue;
			title[0] = '\0';
			GetWindowTextA(box, title, sizeof title);
			if (strcmp(title, argv[1]) != 0)
				continue;
			ShowWindow(box, SW_SHOWNORMAL);
			return EXIT_NORMAL;
		}
	}
	return EXIT_NO_MAILBOX;
}
