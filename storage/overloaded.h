#pragma once
// One visitor from several lambdas, for std::visit over the field tables of the files.
template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;  // clang 14 deduces no aggregate without it
