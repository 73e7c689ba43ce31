#pragma once
// The frame messages that one action of a test sent, in order.

#include <cstddef>
#include <vector>

#include "tests/support/ScriptedUi.h"

template <typename Action>
std::vector<FrameMessage> SentBy(Action action) {
  const std::size_t before = TestUi().FrameMessages().size();
  action();
  const std::vector<FrameMessage>& all = TestUi().FrameMessages();
  return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
}
