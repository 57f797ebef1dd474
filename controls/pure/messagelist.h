// The message list of a window hook: which window messages go to the owner's
// callback. A count of 0 means no message, -1 (kAllMessages) every message.
// Slots emptied by removal hold 0 and are filled by the next addition. A list
// is either limited to a fixed number of slots or grows by one when full.
// Standard C++ only.
#pragma once

#include <cstdint>
#include <vector>

namespace controls {

constexpr long kAllMessages = -1;

class MessageList {
  public:
    enum class AddResult { Added, AlreadyPresent, Overflow };

    // limit 0 = grows without limit.
    explicit MessageList(int limit = 0) : limit_(limit) {}

    // kAllMessages sets the count to -1; any other number takes the first
    // empty slot, is ignored when already listed, or is appended.
    AddResult add(long msg);
    // kAllMessages empties the list; any other number clears its first slot
    // (the count stays). False when the number is not listed.
    bool remove(long msg);
    bool contains(unsigned msg) const;
    void clear();

    int count() const { return count_; }
    const std::vector<std::uint32_t>& slots() const { return slots_; }
    int limit() const { return limit_; }

  private:
    int limit_;
    int count_ = 0;
    std::vector<std::uint32_t> slots_;
};

} // namespace controls
