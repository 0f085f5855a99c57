#include "toolkit/Classes.h"
#include <algorithm>

TComponent::TComponent(TComponent* owner) : FOwner(owner)
{
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    while (!FFreeNotifies.empty()) {
        TComponent* c = FFreeNotifies.back();
        RemoveFreeNotification(c);
        c->Notification(this, true);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents()
{
    FDestroying = true;
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();   // reverse order of creation
        c->Free();                            // its destructor takes it out of the list
    }
}

void TComponent::FreeNotification(TComponent* c)
{
    if (!c || c == this || std::find(FFreeNotifies.begin(), FFreeNotifies.end(), c) != FFreeNotifies.end()) return;
    FFreeNotifies.push_back(c);
    c->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* c)
{
    auto drop = [](std::vector<TComponent*>& v, TComponent* x) { v.erase(std::remove(v.begin(), v.end(), x), v.end()); };
    drop(FFreeNotifies, c);
    if (c) drop(c->FFreeNotifies, this);
}

void TComponent::InsertComponent(TComponent* c) { FComponents.push_back(c); }

void TComponent::RemoveComponent(TComponent* c)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), c);
    if (it != FComponents.end()) FComponents.erase(it);
    for (TComponent* other : FComponents) other->Notification(c, true);
}
