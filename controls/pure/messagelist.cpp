#include "controls/pure/messagelist.h"

namespace controls {

MessageList::AddResult MessageList::add(long msg) {
    if (msg == kAllMessages) {
        count_ = -1;
        slots_.clear();
        return AddResult::Added;
    }
    if (count_ < 0)
        return AddResult::AlreadyPresent; // every message already goes through
    auto value = static_cast<std::uint32_t>(msg);
    // Listed anywhere, also after an emptied slot: listed once only, so that
    // one removal always stops the message.
    int empty = -1;
    for (int i = 0; i < count_; ++i) {
        if (slots_[i] == value)
            return AddResult::AlreadyPresent;
        if (slots_[i] == 0 && empty < 0)
            empty = i;
    }
    // A full list still takes a message into a slot emptied by removal.
    if (empty >= 0) {
        slots_[empty] = value;
        return AddResult::Added;
    }
    if (limit_ > 0 && count_ >= limit_)
        return AddResult::Overflow;
    slots_.push_back(value);
    ++count_;
    return AddResult::Added;
}

bool MessageList::remove(long msg) {
    if (msg == kAllMessages) {
        clear();
        return true;
    }
    auto value = static_cast<std::uint32_t>(msg);
    for (int i = 0; i < count_; ++i) {
        if (slots_[i] == value) {
            slots_[i] = 0;
            return true;
        }
    }
    return false;
}

bool MessageList::contains(unsigned msg) const {
    if (count_ < 0)
        return true;
    for (int i = 0; i < count_; ++i)
        if (slots_[i] == msg && msg != 0)
            return true;
    return false;
}

void MessageList::clear() {
    count_ = 0;
    slots_.clear();
}

} // namespace controls
