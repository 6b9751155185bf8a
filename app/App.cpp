#include "app/App.h"

std::shared_ptr<App> App::Current() {
    return std::dynamic_pointer_cast<App>(fw::Runtime::CurrentApplication());
}
