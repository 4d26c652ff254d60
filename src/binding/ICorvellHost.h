#pragma once

namespace Corvell {

// The host object handed to the page: serves the engine interfaces by name.
// Not a COM interface; pointers it returns are borrowed.
class ICorvellHost {
public:
    virtual void* GetInterface(const char* name) = 0;

protected:
    ~ICorvellHost() = default;
};

} // namespace Corvell
