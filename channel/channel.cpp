#include "channel.h"

#include <windows.h>
#include <ddeml.h>

#include "client.h"
#include "command.h"

enum { REQUEST_TIMEOUT_MS = 1000 };
enum { ONLINE_REPLY_SIZE = 20 };

static HDDEDATA CALLBACK ChannelCallback(UINT, UINT, HCONV, HSZ, HSZ,
                                         HDDEDATA, ULONG_PTR, ULONG_PTR)
{
	return 0;
}

// Frees the string handles that were made, in the order they were made,
// and ends the instance.
static void close_instance(DWORD inst, HSZ service, HSZ topic, HSZ item)
{
	if (service)
		DdeFreeStringHandle(inst, service);
	if (topic)
		DdeFreeStringHandle(inst, topic);
	if (item)
		DdeFreeStringHandle(inst, item);
	DdeUninitialize(inst);
}

// Opens instance and the two name handles. On failure returns the error
// and leaves nothing behind.
static UINT open_instance(DWORD *inst, HSZ *service, HSZ *topic)
{
	UINT rc;

	*inst = 0;
	*service = *topic = 0;
	rc = DdeInitializeA(inst, ChannelCallback, APPCMD_CLIENTONLY, 0);
	if (rc != DMLERR_NO_ERROR)
		return rc;
	*service = DdeCreateStringHandleA(*inst, CLIENT_DDE_NAME, CP_WINANSI);
	if (*service)
		*topic = DdeCreateStringHandleA(*inst, CLIENT_DDE_NAME,
		                                CP_WINANSI);
	if (!*topic) {
		rc = DdeGetLastError(*inst);
		close_instance(*inst, *service, 0, 0);
		return rc;
	}
	return DMLERR_NO_ERROR;
}

static UINT ExecuteCommand(const char *command)
{
	DWORD inst;
	HSZ service, topic;
	HCONV conv;
	UINT rc;

	rc = open_instance(&inst, &service, &topic);
	if (rc != DMLERR_NO_ERROR)
		return rc;
	conv = DdeConnect(inst, service, topic, NULL);
	if (!conv) {
		rc = DdeGetLastError(inst);
	} else {
		// The terminator travels with the command.
		DdeClientTransaction((LPBYTE)command, lstrlenA(command) + 1, conv,
		                     0, CF_TEXT, XTYP_EXECUTE, TIMEOUT_ASYNC,
		                     NULL);
		DdeDisconnect(conv);
	}
	close_instance(inst, service, topic, 0);
	return rc;
}

static UINT RequestItem(const char *item, char *buf, unsigned long size)
{
	DWORD inst;
	HSZ service, topic, name;
	HCONV conv;
	HDDEDATA data;
	UINT rc;

	rc = open_instance(&inst, &service, &topic);
	if (rc != DMLERR_NO_ERROR)
		return rc;
	name = DdeCreateStringHandleA(inst, item, CP_WINANSI);
	if (!name) {
		rc = DdeGetLastError(inst);
		close_instance(inst, service, topic, 0);
		return rc;
	}
	conv = DdeConnect(inst, service, topic, NULL);
	if (!conv) {
		rc = DdeGetLastError(inst);
	} else {
		data = DdeClientTransaction(NULL, 0, conv, name, CF_TEXT,
		                            XTYP_REQUEST, REQUEST_TIMEOUT_MS, NULL);
		if (data) {
			DdeGetData(data, (LPBYTE)buf, size, 0);
			DdeFreeDataHandle(data);
		}
		DdeDisconnect(conv);
	}
	close_instance(inst, service, topic, name);
	return rc;
}

// A command that did not fit is never sent: the client would act on a
// cut text, another folder or another password.
static UINT execute_formatted(bool fits, const char *command)
{
	if (!fits)
		return DMLERR_INVALIDPARAMETER;
	return ExecuteCommand(command);
}

unsigned int TwnChangePassword(const char *text, int number)
{
	char command[COMMAND_SIZE];

	return execute_formatted(format_change_password(command,
	                         sizeof command, text, number), command);
}

unsigned int TwnDeleteMail(const char *text)
{
	char command[COMMAND_SIZE];

	return execute_formatted(format_delete_mail(command, sizeof command,
	                         text), command);
}

unsigned int TwnInsertMail(const char *entry, const char *folder, int number)
{
	char command[COMMAND_SIZE];

	return execute_formatted(format_insert_mail(command, sizeof command,
	                         entry, folder, number), command);
}

unsigned int TwnMailBox(char *buf, unsigned long size)
{
	return RequestItem("MailBox", buf, size);
}

unsigned int TwnMarkMail(const char *text, unsigned short first,
                         unsigned short second)
{
	char command[COMMAND_SIZE];

	return execute_formatted(format_mark_mail(command, sizeof command, text,
	                         first, second), command);
}

unsigned int TwnMoveMail(const char *text, const char *folder)
{
	char command[COMMAND_SIZE];

	return execute_formatted(format_move_mail(command, sizeof command, text,
	                         folder), command);
}

unsigned int TwnNewEntryName(char *buf, unsigned long size)
{
	return RequestItem("NewEntryName", buf, size);
}

unsigned int TwnOnline(int &online)
{
	// Cleared so that no answer reads as offline, never as stack garbage.
	char reply[ONLINE_REPLY_SIZE] = {0};
	UINT rc;

	rc = RequestItem("Online", reply, sizeof reply);
	online = reply[0] == '1';
	return rc;
}

unsigned int TwnReloadProfile()
{
	char command[RELOAD_COMMAND_SIZE];

	return execute_formatted(format_reload_profile(command, sizeof command),
	                         command);
}

unsigned int TwnRetreive(int number)
{
	char command[COMMAND_SIZE];

	return execute_formatted(format_retreive(command, sizeof command,
	                         number), command);
}

unsigned int TwnSetOnline(int number)
{
	char command[COMMAND_SIZE];

	return execute_formatted(format_set_online(command, sizeof command,
	                         number), command);
}

unsigned int TwnVersion(char *buf, unsigned long size)
{
	return RequestItem("Version", buf, size);
}
