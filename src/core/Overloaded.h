#pragma once

namespace core {

// One lambda per alternative of a std::variant: std::visit(core::Overloaded{...}, value).
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Spelled out for compilers that do not deduce it from the aggregate (clang 14, which the fuzz build uses).
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace core
