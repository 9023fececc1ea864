#pragma once
// Exceptions must never unwind through Qt's own frames: every user-interface handler runs inside
// Guarded(), which hands whatever escapes to the application-wide handler, and the program goes on.
#include <QApplication>
#include <QObject>

#include <exception>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

// Shows ShowErrorDialog("Belső alkalmazáshiba", message); EAbort is swallowed without a word.
void AppEventsException(const std::exception& e);

// Runs call; anything it throws goes to AppEventsException.
void Guarded(const std::function<void()>& call);

namespace GuardDetail {
template <typename T> struct TCallArgs : TCallArgs<decltype(&std::decay_t<T>::operator())> {};
template <typename R, typename... A> struct TCallArgs<R (*)(A...)> { using Tuple = std::tuple<A...>; };
template <typename R, typename... A> struct TCallArgs<R (*)(A...) noexcept> { using Tuple = std::tuple<A...>; };
template <typename R, typename C, typename... A> struct TCallArgs<R (C::*)(A...)> { using Tuple = std::tuple<A...>; };
template <typename R, typename C, typename... A> struct TCallArgs<R (C::*)(A...) const> { using Tuple = std::tuple<A...>; };
template <typename R, typename C, typename... A> struct TCallArgs<R (C::*)(A...) noexcept> { using Tuple = std::tuple<A...>; };
template <typename R, typename C, typename... A> struct TCallArgs<R (C::*)(A...) const noexcept> { using Tuple = std::tuple<A...>; };

// A functor with exactly the argument list of F, so that Qt can still match it to the signal
// (a signal may carry more arguments than the slot takes).
template <typename F, typename... A> auto WrapWithArgs(F f, std::tuple<A...>*)
{
    return [f = std::move(f)](A... args) mutable { Guarded([&] { f(std::forward<A>(args)...); }); };
}

template <typename Receiver, typename Slot, typename... A>
auto WrapMemberWithArgs(Receiver* receiver, Slot slot, std::tuple<A...>*)
{
    return [receiver, slot](A... args) { Guarded([&] { (receiver->*slot)(std::forward<A>(args)...); }); };
}
} // namespace GuardDetail

// QObject::connect through Guarded(). slot is a member function of receiver or a (non-generic)
// lambda or function; receiver is the context object that ends the connection when destroyed.
template <typename Sender, typename Signal, typename Receiver, typename Slot>
QMetaObject::Connection GuardedConnect(Sender* sender, Signal signal, Receiver* receiver, Slot slot,
                                       Qt::ConnectionType type = Qt::AutoConnection)
{
    using Args = typename GuardDetail::TCallArgs<Slot>::Tuple;
    if constexpr (std::is_member_function_pointer_v<Slot>)
        return QObject::connect(sender, signal, receiver,
                                GuardDetail::WrapMemberWithArgs(receiver, slot, static_cast<Args*>(nullptr)), type);
    else
        return QObject::connect(sender, signal, receiver,
                                GuardDetail::WrapWithArgs(std::move(slot), static_cast<Args*>(nullptr)), type);
}

// The last-resort net: an exception that escaped a handler not connected through the guard.
class TVelkorApplication : public QApplication {
public:
    TVelkorApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
