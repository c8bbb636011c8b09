// The emulator's frame reader on arbitrary bytes and timing: every frame it
// takes, built again from its parts, reads back the same. Input: pairs of
// (byte, gap in tens of ms).
#include <cstdlib>

#include "harness.h"
#include "wire/frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
  ecffuzz::Entrada e(dados, tamanho);
  ecfsim::FrameParser leitor(1000);
  std::int64_t agora = 0;
  while (!e.vazia()) {
    const std::uint8_t b = e.byte();
    agora += e.byte() * 10;
    if (leitor.push(b, agora) != ecfsim::FrameParser::Event::FrameReady) continue;
    // The frame built again from its parts reads back the same.
    const ecfsim::Frame f = leitor.frame();
    ecfsim::FrameParser outro(1000);
    ecfsim::FrameParser::Event ev = ecfsim::FrameParser::Event::None;
    for (char c : ecfsim::build_frame(f.start, f.command, f.args))
      ev = outro.push(static_cast<std::uint8_t>(c), agora);
    if (ev != ecfsim::FrameParser::Event::FrameReady || outro.frame().command != f.command ||
        outro.frame().args != f.args || outro.frame().start != f.start)
      std::abort();
  }
  return 0;
}
