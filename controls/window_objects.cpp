#include "controls/window_objects.h"

#include <map>
#include <mutex>
#include <utility>

namespace controls {

namespace {

struct Table {
    std::mutex lock; // windows may be made on more than one thread
    std::map<std::pair<HWND, std::type_index>, void*> objects;
};

Table& table() {
    static Table t;
    return t;
}

} // namespace

void detail::attach(HWND hwnd, std::type_index type, void* object) {
    Table& t = table();
    std::lock_guard<std::mutex> hold(t.lock);
    if (hwnd && object)
        t.objects[{hwnd, type}] = object;
}

void* detail::find(HWND hwnd, std::type_index type) {
    if (!hwnd)
        return nullptr;
    Table& t = table();
    std::lock_guard<std::mutex> hold(t.lock);
    auto it = t.objects.find({hwnd, type});
    return it == t.objects.end() ? nullptr : it->second;
}

void detachObject(HWND hwnd, const void* object) {
    Table& t = table();
    std::lock_guard<std::mutex> hold(t.lock);
    for (auto it = t.objects.begin(); it != t.objects.end();) {
        if (it->first.first == hwnd && it->second == object)
            it = t.objects.erase(it);
        else
            ++it;
    }
}

} // namespace controls
