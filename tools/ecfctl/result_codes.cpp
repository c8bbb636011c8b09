#include "result_codes.h"

namespace ecfctl {

std::string_view result_meaning(const Ops &ops, int code) {
  if (ops.texto_resultado == nullptr) return "unknown result";
  const char *text = ops.texto_resultado(code);
  return text != nullptr ? text : "unknown result";
}

}  // namespace ecfctl
