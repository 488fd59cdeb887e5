// Texts of the execute commands the client's DDE service accepts.
// Portable: no Win32 here, so the formats are tested natively.
#ifndef CORE_COMMAND_H
#define CORE_COMMAND_H

#include <stddef.h>

// A command is at most 255 characters and its terminator.
enum { COMMAND_SIZE = 256 };
// The fixed reload command needs no more than this.
enum { RELOAD_COMMAND_SIZE = 20 };

// Each formatter writes its command into buf (size bytes, terminator
// included) and returns true; when the command would not fit it writes
// nothing but an empty string and returns false, so that a shortened
// command (a cut folder name or password) can never be sent.
bool format_mark_mail(char *buf, size_t size, const char *text,
                      unsigned short first, unsigned short second);
bool format_delete_mail(char *buf, size_t size, const char *text);
bool format_move_mail(char *buf, size_t size, const char *text,
                      const char *folder);
bool format_insert_mail(char *buf, size_t size, const char *entry,
                        const char *folder, int number);
bool format_set_online(char *buf, size_t size, int number);
bool format_retreive(char *buf, size_t size, int number);
bool format_reload_profile(char *buf, size_t size);
bool format_change_password(char *buf, size_t size, const char *text,
                            int number);

#endif
