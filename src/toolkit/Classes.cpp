#include "toolkit/Classes.h"
#include <algorithm>

TComponent::TComponent(TComponent* owner) : FOwner(owner)
{
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent()
{
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

void TComponent::InsertComponent(TComponent* c) { FComponents.push_back(c); }

void TComponent::RemoveComponent(TComponent* c)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), c);
    if (it != FComponents.end()) FComponents.erase(it);
    for (TComponent* other : FComponents) other->Notification(c, true);
}
