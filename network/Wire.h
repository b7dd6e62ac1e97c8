// The framing of requests and replies between this program and a database
// server, over one TCP connection (port 19813 unless told otherwise).
//
// Every frame header is big-endian whatever the server's byte order; only
// the payloads travel in the server's order (see ServerByteSens).
//
// Greeting, server to client, once after the connection is accepted (8 bytes):
//   0  4 bytes  'QzSv'
//   4  u8       byte order of the server's payloads: 0 big-endian, 1 little-endian
//   5  u8       protocol version, 1
//   6  2 bytes  zero
//
// Request, client to server: a 12-byte header, then the payload.
//   0  u16  kRequestMagic
//   2  u16  sequence number, one more for every request of the connection
//   4  i16  request code
//   6  u16  zero
//   8  u32  payload length
//
// Reply frames, server to client: a 12-byte header, then the payload.
//   0  u16  kReplyMagic
//   2  u16  sequence number of the request being answered
//   4  i16  error (0 success; for instance -4444 "locked by another client")
//   6  u16  kind: kFrameReply ends the request; kFrameActions carries server
//           actions (12-byte records) and is followed by further frames
//   8  u32  payload length
// A request is answered by any number of action frames and then one reply
// frame. The map reply (request 32) is followed by its further bytes, raw,
// outside any frame; the client reads them with readalone.
//
// Action record (12 bytes, server order): u32 resource type, i16 id,
// u32 server file number, u8 action code, 1 byte zero.
//
// Frames the server pushes between requests carry the sequence number of the
// last request. The client refuses any payload over kMaxPayload and scans
// past bytes that do not start a frame of the request it waits for.
#pragma once

#include <cstdint>

namespace wire {

constexpr uint16_t kDefaultPort = 19813;

constexpr uint8_t kGreetingTag[4] = {'Q', 'z', 'S', 'v'};
constexpr int32_t kGreetingSize = 8;
constexpr uint8_t kProtocolVersion = 1;
constexpr uint8_t kOrderBig = 0;
constexpr uint8_t kOrderLittle = 1;

constexpr uint16_t kRequestMagic = 0x515A;  // "QZ"
constexpr uint16_t kReplyMagic = 0x517A;    // "Qz"
constexpr int32_t kHeaderSize = 12;

constexpr uint16_t kFrameReply = 0;
constexpr uint16_t kFrameActions = 1;

constexpr int32_t kActionRecordSize = 12;

// The largest payload either side accepts, and the cap on the further
// bytes of a map reply.
constexpr uint32_t kMaxPayload = 64u * 1024u * 1024u;

struct RequestHeader {
    uint16_t sequence = 0;
    int16_t code = 0;
    uint32_t length = 0;
};

struct ReplyHeader {
    uint16_t sequence = 0;
    int16_t error = 0;
    uint16_t kind = 0;
    uint32_t length = 0;
};

void EncodeRequestHeader(const RequestHeader& header, uint8_t out[kHeaderSize]);
bool DecodeRequestHeader(const uint8_t in[kHeaderSize], RequestHeader* header);
void EncodeReplyHeader(const ReplyHeader& header, uint8_t out[kHeaderSize]);
// False when the bytes do not start with the reply magic.
bool DecodeReplyHeader(const uint8_t in[kHeaderSize], ReplyHeader* header);

void EncodeGreeting(bool littleEndian, uint8_t out[kGreetingSize]);
// False for anything but a greeting of our version.
bool DecodeGreeting(const uint8_t in[kGreetingSize], bool* littleEndian);

}  // namespace wire
