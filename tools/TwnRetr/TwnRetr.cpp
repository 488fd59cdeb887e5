// TwnRetr: make the running mail client retrieve mail, send mail, or both.
#include <stdio.h>
#include <windows.h>

#include "channel.h"
#include "client.h"
#include "number.h"

static const char USAGE[] =
	"Usage TwnRetr [0|1|2]\n"
	"  0 : Retreive Only\n"
	"  1 : Send Only\n"
	"  2 : Retreive & Send\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n"
	"    3 : Retreive Error\n";

enum {
	EXIT_NORMAL = 0,
	EXIT_PARAMETER = 1,
	EXIT_NO_CLIENT = 2,
	EXIT_RETREIVE = 3
};

enum { RETREIVE_ONLY = 0, RETREIVE_AND_SEND = 2 };

int main(int argc, char **argv)
{
	int value;

	if (argc < 2) {
		fputs(USAGE, stderr);
		return EXIT_PARAMETER;
	}
	if (!FindWindowA(CLIENT_CLASS_LOWER, NULL))
		return EXIT_NO_CLIENT;
	value = read_decimal(argv[1]);
	if (value < RETREIVE_ONLY || value > RETREIVE_AND_SEND)
		return EXIT_NORMAL;
	if (TwnRetreive(value) != 0)
		return EXIT_RETREIVE;
	return EXIT_NORMAL;
}
