#include "framework/Mouse.h"

namespace fw {

namespace {
bool g_contextual = false;
}  // namespace

bool IsContextualClick() {
    return g_contextual;
}

ContextualClickScope::ContextualClickScope(bool contextual) : previous_(g_contextual) {
    g_contextual = contextual;
}

ContextualClickScope::~ContextualClickScope() {
    g_contextual = previous_;
}

}  // namespace fw
