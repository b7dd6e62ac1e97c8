// The request layer: numbered requests to the database server of the
// current connection, their replies, and the actions the server pushes.
// One request at a time; a call waits for its reply, carrying out the
// server's actions that arrive meanwhile.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"

class CQztcp;

// Non-zero when the server's payloads are in the other byte order than this
// program's stored records (big-endian): payloads are then converted by
// template and resource contents by type.
extern uint8_t ServerByteSens;
// The error of the last request, 0 when none.
extern int16_t reqerr;

// The template converters used for payloads, the kernel's SwapBytes2 and
// SwapBytesEnvoi2 unless replaced (null: none).
using NetSwapProc = int32_t (*)(int32_t number, void* data, int32_t swap, int32_t* consumed,
                                int32_t limit);
void SetNetSwapProcs(NetSwapProc received, NetSwapProc sending);

// Receives every server action on a resource: type, id, server file number,
// action code. The resource store installs its execresaction here.
using ResActionProc = void (*)(uint32_t type, int16_t id, uint32_t serverFile, uint8_t action);
void SetResActionProc(ResActionProc proc);

// Opens the program's connection to a server at a dotted IPv4 address and
// makes it current (none is current when it fails).
platform::OSErr OpenServerConnection(const std::string& address, uint16_t port);
// The longest a read or write of the connections OpenServerConnection makes
// waits, in milliseconds (30,000 until set).
void SetServerTimeout(uint32_t milliseconds);
// Closes the current connection and forgets it.
void closeconnection();
// Makes another connection current (null for none); not owned.
void SetCurrentConnection(CQztcp* connection);
CQztcp* CurrentConnection();
// Forgets every connection and hook and clears the globals.
void ResetRequestLayer();

// Sends one request and answers its reply payload in a new handle owned by
// the caller, null when the reply is empty or the request failed. When the
// server's order differs, the payload is converted with sendTemplate and the
// reply with replyTemplate (0: none). A connection that fails stays
// closed: the request that met the failure and every later one answer its
// cause (kNetStoppedAnswering, kNetConnectionLost or kNetBadReply) until
// another connection is opened.
platform::Handle sendxrequest(int16_t code, const void* data, int32_t length,
                              int16_t sendTemplate, int16_t replyTemplate);
int16_t requesterr();
// Reads exactly length bytes from the connection, outside any frame; the
// error goes to requesterr.
void readalone(void* buffer, int32_t length);
// Reads `length` bytes of 12-byte action records and hands each one on.
void actionresaction(int32_t length);
// Ticks of the last request sent.
uint32_t LastRequestTicks();
// Whether the last request went out whole: the server may have carried it
// out even when its reply then failed.
bool LastRequestSent();
// Failures of the server's connection since the start: how many (a
// request, read or idle time that ended with its connection closed) and
// the error that closed it last. A caller that sees the count move during
// a step knows that the server failed, whatever the step made of it.
uint32_t ConnectionFailures();
int16_t LastConnectionFailure();
// A failure of the connection is said to the user once, when met: by the
// alert of the step that met it (which notes it said), or else at idle
// time. TakeUnsaidConnectionFailure answers the cause of a failure not
// said yet, 0 when there is none, and counts it as said.
void NoteConnectionFailureSaid();
int16_t TakeUnsaidConnectionFailure();
// Idle time: takes the actions the server sent unasked. 1 when there is no
// connection, else 0.
int16_t idlecomm();
