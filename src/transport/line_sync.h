// Keeping the line in step with the frames: what the driver knows of the
// bytes that may still be on their way, and the wait that clears them.
#pragma once

#include <cstdint>

namespace ecf::transport {

// A line is quiet once no byte has come for quiet_window_ms(): twenty byte
// times at the line's speed, within these bounds (an answer in progress
// keeps far shorter gaps; the floor covers the host's and an adapter's
// delivery in chunks).
constexpr long quiet_min_ms = 10;
constexpr long quiet_max_ms = 30;
long quiet_window_ms();
// A device that never stops sending is not waited on past this.
constexpr long settle_limit_ms = 2000;

struct LineState {
  // Bytes on the line may belong to no frame of ours: set from the start of
  // each exchange until its whole answer is taken, and when the port opens,
  // so a call that ended early for any reason leaves it set.
  bool out_of_step = true;
  // Answers still to be checked for bytes after them. A rejected answer
  // was followed by another, so the frame sent again may get two.
  int checks_left = 0;
  // Until then an answer that did not come in time may still arrive: each
  // frame waits for a quiet line and each answer is checked.
  std::int64_t wary_until_ms = 0;
  // The last exchange found nothing that answers: the port did not open,
  // the line stayed silent or never stopped sending. Trying the same
  // again at once only pays the same wait again.
  bool dead = false;
  // Bytes the last receive heard, its answer's and those it dropped.
  long heard = 0;
  // The last receive dropped bytes that were not its answer.
  bool stray = false;
};

LineState &line_state();

// The millisecond clock the line's waits run on.
std::int64_t line_now_ms();

// Drops what the line holds until it has been quiet: 0, or 37
// when it did not go quiet within settle_limit_ms.
int resynchronise();

// Whether the line stays quiet after an answer: a byte within
// that time means the answer was not the whole of what came for the frame.
bool quiet_after_answer();

}  // namespace ecf::transport
