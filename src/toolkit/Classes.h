// The toolkit's base: objects, events, components with ownership.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "toolkit/pure/SysUtils.h"

class TObject {
public:
    virtual ~TObject() = default;
};

// An event: an (object, method) pair, called only when assigned, the sender first.
//   WAVList->OnClick = {this, &TSonidexForm::WAVListClick};
// Tests may also assign a lambda.
template <class... Args>
class TEvent {
public:
    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <class T, class R>
    TEvent(T* object, R (T::*method)(Args...))
        : F([object, method](Args... a) { (object->*method)(a...); }) {}
    template <class Fn, class = std::enable_if_t<std::is_invocable_v<Fn&, Args...> &&
                                                 !std::is_same_v<std::decay_t<Fn>, TEvent>>>
    TEvent(Fn fn) : F(std::move(fn)) {}
    explicit operator bool() const { return static_cast<bool>(F); }
    void operator()(Args... a) const { if (F) F(a...); }
private:
    std::function<void(Args...)> F;
};

using TNotifyEvent = TEvent<TObject*>;

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64,
                          ssRepeat = 128 };   // a key's auto-repeat: it was already down
using TShiftState = unsigned;
enum TMouseButton { mbLeft, mbRight, mbMiddle };

struct TPoint { int X = 0, Y = 0; };
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};
inline TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }
inline TRect Bounds(int l, int t, int w, int h) { return TRect{l, t, l + w, t + h}; }

// A component belongs to an owner, which frees it with itself (last created, first freed).
// A component freed before its owner takes itself out of the owner's list.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::vector<TComponent*>& Components() const { return FComponents; }
    std::string Name;
    int Tag = 0;

    // Lets a component know that another one it refers to is about to go.
    virtual void Notification(TComponent* component, bool removing) {}
    // Links this component and c, whoever owns them: the first of the two to go tells the other
    // through Notification. A component that refers to another it does not own asks for this.
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);
    // Called once the form loader has set every property of the component.
    virtual void Loaded() {}
    // Called by the owner just before it frees the component, while all of it still exists.
    virtual void BeforeDestruction() {}
    // Runs BeforeDestruction, then frees the component.
    void Free() { BeforeDestruction(); delete this; }
protected:
    // True while the component is being freed.
    bool Destroying() const { return FDestroying; }
    // Frees the owned components now; a derived destructor calls it while its own state
    // (a window handle, say) is still there for them.
    void DestroyComponents();
private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    bool FDestroying = false;
};
