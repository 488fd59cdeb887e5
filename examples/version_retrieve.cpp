// Example: drive the mail client through the command channel library.
// Asks the client for its version, then tells it to retrieve and send.
//
// Build with MinGW-w64, from the kit's folder (one line):
//   x86_64-w64-mingw32-g++ -static examples/version_retrieve.cpp
//   -I include -L lib -ltwnchannel -luser32 -o version_retrieve.exe
#include <stdio.h>

#include "channel.h"

enum { VERSION_SIZE = 64 };
enum { RETREIVE_AND_SEND = 2 };

int main()
{
	// The client's answer is copied as sent, without a terminator of our
	// own: keep the last byte for one.
	char version[VERSION_SIZE] = {0};
	unsigned rc;

	rc = TwnVersion(version, sizeof version - 1);
	if (rc != 0) {
		fprintf(stderr, "client not reachable (DDE error 0x%X)\n", rc);
		return 2;
	}
	if (version[0] == '\0') {
		fprintf(stderr, "client did not answer\n");
		return 3;
	}
	printf("client version: %s\n", version);
	rc = TwnRetreive(RETREIVE_AND_SEND);
	if (rc != 0) {
		fprintf(stderr, "retrieve not handed over (DDE error 0x%X)\n", rc);
		return 2;
	}
	printf("retrieve and send requested\n");
	return 0;
}
