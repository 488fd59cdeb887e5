// Command channel: drive the running mail client over DDE.
//
// Every function opens a DDE conversation of its own with the client,
// performs one transaction and releases everything before it returns.
// The result is 0 when the conversation could be opened, otherwise a
// DDEML error code (never 0). An execute command is handed over without
// waiting: its effect is never learned. A request copies at most `size`
// bytes of the client's answer into `buf`, adds no terminator and leaves
// `buf` untouched when no answer came (the result is still 0).
//
// A command that would exceed 255 characters is not sent; the function
// returns DMLERR_INVALIDPARAMETER (0x4006).
#ifndef CHANNEL_CHANNEL_H
#define CHANNEL_CHANNEL_H

unsigned int TwnChangePassword(const char *text, int number);
unsigned int TwnDeleteMail(const char *text);
unsigned int TwnInsertMail(const char *entry, const char *folder, int number);
unsigned int TwnMailBox(char *buf, unsigned long size);
unsigned int TwnMarkMail(const char *text, unsigned short first,
                         unsigned short second);
unsigned int TwnMoveMail(const char *text, const char *folder);
unsigned int TwnNewEntryName(char *buf, unsigned long size);
// Writes 1 to online when the client answers "1...", otherwise 0
// (also when no answer arrived).
unsigned int TwnOnline(int &online);
unsigned int TwnReloadProfile();
unsigned int TwnRetreive(int number);
unsigned int TwnSetOnline(int number);
unsigned int TwnVersion(char *buf, unsigned long size);

#endif
