#include "framework/Mouse.h"

namespace fw {

namespace {
bool g_contextual = false;
std::optional<ScreenPoint> g_at;
}  // namespace

bool IsContextualClick() {
    return g_contextual;
}

std::optional<ScreenPoint> MouseDownPosition() {
    return g_at;
}

ContextualClickScope::ContextualClickScope(bool contextual, std::optional<ScreenPoint> at)
    : previous_(g_contextual), previousAt_(g_at) {
    g_contextual = contextual;
    g_at = at;
}

ContextualClickScope::~ContextualClickScope() {
    g_contextual = previous_;
    g_at = previousAt_;
}

}  // namespace fw
