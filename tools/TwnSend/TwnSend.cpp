// TwnSend: hand a prepared mail file to the running mail client, which
// puts it into its outbox folder.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <windows.h>

#include "channel.h"
#include "client.h"
#include "mailfile.h"
#include "textcopy.h"

static const char USAGE[] =
	"Usage TwnSend [File Name]\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n"
	"    3 : Can't Find Mail File\n"
	"    4 : Can't Create New Mail\n"
	"    5 : Can't Get New Mail Entry\n";

enum {
	EXIT_NORMAL = 0,
	EXIT_PARAMETER = 1,
	EXIT_NO_CLIENT = 2,
	EXIT_NO_MAIL_FILE = 3,
	EXIT_NO_NEW_MAIL = 4,
	EXIT_NO_ENTRY = 5
};

enum {
	ENTRY_SIZE = 64,
	MAILBOX_SIZE = 260,
	MAIL_PATH_SIZE = 260
};

// The outbox folder, "送信箱" in code page 932, handed on byte for byte
// whatever the code page of this system.
static const char OUTBOX[] = "\x91\x97\x90\x4D\x94\xA0";
// The insert command's third value for a mail put into the outbox.
enum { OUTBOX_INSERT_VALUE = 49 };

// A request that delivers nothing leaves the buffer as it was; filled
// with this, such a buffer holds no terminator and reads as no answer.
enum { UNFILLED = 0x7F };

static bool same_file(HANDLE a, HANDLE b)
{
	BY_HANDLE_FILE_INFORMATION ia, ib;

	if (!GetFileInformationByHandle(a, &ia) ||
	    !GetFileInformationByHandle(b, &ib))
		return false;
	return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
	       ia.nFileIndexHigh == ib.nFileIndexHigh &&
	       ia.nFileIndexLow == ib.nFileIndexLow;
}

// Created, or emptied if it is there already (the client may have made it
// for the entry), but never when it is the very mail file being sent:
// emptying that would lose the mail.
static FILE *create_new(const char *path, FILE *mail)
{
	int fd;
	FILE *f;

	fd = _open(path, _O_WRONLY | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
	if (fd < 0)
		return NULL;
	if (same_file((HANDLE)_get_osfhandle(fd),
	              (HANDLE)_get_osfhandle(_fileno(mail)))) {
		_close(fd);
		return NULL;
	}
	if (_chsize(fd, 0) != 0 || !(f = _fdopen(fd, "wb"))) {
		_close(fd);
		remove(path);
		return NULL;
	}
	// The copy writes whole blocks; a stream buffer would only copy them
	// once more.
	setvbuf(f, NULL, _IONBF, 0);
	return f;
}

// The client is told about the new mail only once it is complete and
// closed; a copy that failed anywhere leaves no file behind.
static bool copy_mail(FILE *mail, const char *path)
{
	FILE *out;
	bool copied;

	out = create_new(path, mail);
	if (!out)
		return false;
	copied = copy_text(mail, out, TEXT_BLOCK_SIZE) == TEXT_COPY_OK;
	if (fclose(out) != 0)
		copied = false;
	if (!copied)
		remove(path);
	return copied;
}

int main(int argc, char **argv)
{
	FILE *mail;
	char entry[ENTRY_SIZE];
	char mailbox[MAILBOX_SIZE];
	char path[MAIL_PATH_SIZE];

	if (argc < 2) {
		fputs(USAGE, stderr);
		return EXIT_PARAMETER;
	}
	if (!FindWindowA(CLIENT_CLASS_LOWER, NULL))
		return EXIT_NO_CLIENT;
	mail = fopen(argv[1], "rb");
	if (!mail)
		return EXIT_NO_MAIL_FILE;

	memset(entry, UNFILLED, sizeof entry);
	if (TwnNewEntryName(entry, sizeof entry) != 0 ||
	    !is_entry_name(entry, sizeof entry)) {
		fclose(mail);
		return EXIT_NO_ENTRY;
	}
	fprintf(stderr, "entry %s\n", entry);

	memset(mailbox, UNFILLED, sizeof mailbox);
	if (TwnMailBox(mailbox, sizeof mailbox) != 0 ||
	    !is_answer(mailbox, sizeof mailbox) ||
	    !compose_mail_path(path, sizeof path, mailbox, entry) ||
	    is_device_path(path)) {
		fclose(mail);
		return EXIT_NO_NEW_MAIL;
	}
	fprintf(stderr, "fname %s\n", path);

	if (!copy_mail(mail, path)) {
		fclose(mail);
		return EXIT_NO_NEW_MAIL;
	}
	fclose(mail);
	// The conversation could not even be opened: the client went away
	// after the copy, so the mail must not wait in its mailbox unseen.
	if (TwnInsertMail(entry, OUTBOX, OUTBOX_INSERT_VALUE) != 0) {
		remove(path);
		return EXIT_NO_CLIENT;
	}
	return EXIT_NORMAL;
}
