// The baseline of the window-message tools' benchmark: a program that
// does no more than look up the client's main window and send it one
// message that it does nothing with.
#include <windows.h>

#include "client.h"

int main()
{
	HWND client = FindWindowA(CLIENT_CLASS, NULL);

	SendMessageA(client, WM_NULL, 0, 0);
	return 0;
}
