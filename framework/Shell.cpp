#include "framework/Shell.h"

namespace fw {

Shell::Shell() {
    DeclareEvent<void(Shell&)>("DataAvailable", "(  )");
    DeclareEvent<void(Shell&)>("Completed", "(  )");
}

Shell::~Shell() = default;

const PropertyTable& Shell::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t;
        t.Add("TimeOut", PropType::Int32, [](PropertyHolder& h, const PropValue& v) {
            static_cast<Shell&>(h).timeOut_ = std::get<Int32>(v);
        });
        t.Add("Mode", PropType::Int32, [](PropertyHolder& h, const PropValue& v) {
            static_cast<Shell&>(h).mode_ = std::get<Int32>(v);
        });
        return t;
    }();
    return table;
}

}  // namespace fw
