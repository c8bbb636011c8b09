#include "wire/reply_encoding.h"

#include "wire/frame.h"

namespace ecfsim {

namespace {

void put_status(std::string &out, const Reply &reply, Protocol protocol) {
  out.push_back(static_cast<char>(reply.st1));
  out.push_back(static_cast<char>(reply.st2));
  if (protocol == Protocol::Extended) {
    out.push_back(static_cast<char>(reply.exec_status & 0xFF));
    out.push_back(static_cast<char>(reply.exec_status >> 8));
  }
}

}  // namespace

Protocol protocol_of_start(uint8_t start, Protocol fallback) {
  if (start == kStartBasic) return Protocol::Basic;
  if (start == kStartExtended) return Protocol::Extended;
  return fallback;
}

std::string encode_reply(const Reply &reply, Protocol protocol) {
  std::string out(1, static_cast<char>(kAck));
  out.reserve(reply.data.size() + 8);
  switch (reply.layout) {
    case Layout::StatusFirst:
      put_status(out, reply, protocol);
      if (!is_refusal(reply) && !reply.data.empty()) {
        out.append(reply.data);
        if (protocol == Protocol::Extended) out.append(2, '\0');
      }
      break;
    case Layout::DataFirst:
      out.append(reply.data);
      put_status(out, reply, protocol);
      break;
    case Layout::Stream:
      put_status(out, reply, protocol);
      if (!is_refusal(reply)) {
        out.append(reply.data);
        out.push_back(static_cast<char>(kEtx));
      }
      break;
  }
  return out;
}

}  // namespace ecfsim
