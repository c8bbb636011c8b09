#include "latin1.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace ecfctl {
namespace {

struct Decoded {
  uint32_t code = 0;
  size_t length = 0;  // 0: not UTF-8 here
};

// One strict UTF-8 sequence at the start of `s`: no overlong forms, no
// surrogates, nothing past U+10FFFF, no truncated sequence.
Decoded decode(std::string_view s) {
  const auto byte = [&s](size_t i) { return static_cast<uint8_t>(s[i]); };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  // Lead byte pattern, its payload bits, sequence length, least code point.
  struct Form {
    uint8_t mask, value, payload;
    size_t length;
    uint32_t least;
  };
  static constexpr std::array<Form, 3> kForms{{
      {0xE0, 0xC0, 0x1F, 2, 0x80},
      {0xF0, 0xE0, 0x0F, 3, 0x800},
      {0xF8, 0xF0, 0x07, 4, 0x10000},
  }};
  const Form *form = nullptr;
  for (const Form &f : kForms) {
    if ((lead & f.mask) == f.value) form = &f;
  }
  if (form == nullptr) return {};
  const size_t length = form->length;
  uint32_t code = lead & form->payload;
  if (s.size() < length) return {};
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {};
    code = (code << 6) | (byte(i) & 0x3Fu);
  }
  if (code < form->least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  return {code, length};
}

}  // namespace

std::optional<std::string> to_latin1(std::string_view utf8, std::string &error) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const Decoded d = decode(utf8.substr(i));
    if (d.length == 0) {
      std::array<char, 64> text{};
      std::snprintf(text.data(), text.size(), "byte %zu (%02Xh) is not UTF-8", i + 1,
                    static_cast<unsigned>(static_cast<uint8_t>(utf8[i])));
      error = text.data();
      return std::nullopt;
    }
    if (d.code > 0xFF) {
      std::array<char, 32> code{};
      std::snprintf(code.data(), code.size(), "U+%04X", static_cast<unsigned>(d.code));
      error = "'" + std::string(utf8.substr(i, d.length)) + "' (" + code.data() +
              ") has no Latin-1 form";
      return std::nullopt;
    }
    out += static_cast<char>(d.code);
    i += d.length;
  }
  return out;
}

std::string to_utf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char c : latin1) {
    const auto b = static_cast<uint8_t>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

bool args_to_latin1(std::vector<std::string> &args, size_t from, std::string_view label) {
  for (size_t i = from; i < args.size(); ++i) {
    std::string error;
    auto converted = to_latin1(args[i], error);
    if (!converted) {
      std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(label.size()), label.data(),
                   error.c_str());
      return false;
    }
    args[i] = std::move(*converted);
  }
  return true;
}

}  // namespace ecfctl
