#include "framework/Delegate.hpp"
#include "framework/Exceptions.hpp"
#include "framework/Object.hpp"

#include <gtest/gtest.h>

namespace {

class Animal : public fw::Object {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = fw::MakeClassTable<Animal>("Zoo.Animal", &fw::Object::Lookup());
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }
    virtual int Legs() { return 4; }
};

class Bird : public Animal {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = fw::MakeClassTable<Bird>("Zoo.Bird", &Animal::Lookup());
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }
    int Legs() override { return 2; }
};

TEST(ObjectTest, CheckCastKeepsNilAndTestsTheClass) {
    EXPECT_EQ(fw::RuntimeCheckCast<Bird>(nullptr, Bird::Lookup()), nullptr);
    auto bird = fw::RuntimeNewObject(Bird::Lookup());
    EXPECT_TRUE(fw::RuntimeObjectIsa(bird.get(), Animal::Lookup()));
    EXPECT_EQ(fw::RuntimeCheckCast<Animal>(bird, Animal::Lookup()).get(), bird.get());
    auto animal = fw::RuntimeNewObject(Animal::Lookup());
    EXPECT_THROW(fw::RuntimeCheckCast<Bird>(animal, Bird::Lookup()), fw::IllegalCastException);
}

TEST(DelegateTest, WeakDelegateRaisesOnceItsTargetIsGone) {
    auto bird = std::make_shared<Bird>();
    auto legs = fw::RuntimeCreateDelegate(&Animal::Legs, std::static_pointer_cast<Animal>(bird), "(  ) as Integer",
                                          fw::DelegateKind::Weak);
    EXPECT_EQ(legs->Invoke(), 2);  // the target's own class decides
    bird.reset();
    EXPECT_THROW(legs->Invoke(), fw::NilObjectException);
}

TEST(DelegateTest, StrongDelegateKeepsItsTarget) {
    auto bird = std::make_shared<Bird>();
    auto legs = fw::RuntimeCreateDelegate(&Animal::Legs, std::static_pointer_cast<Animal>(bird), "(  ) as Integer",
                                          fw::DelegateKind::Strong);
    std::weak_ptr<Bird> watch = bird;
    bird.reset();
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(legs->Invoke(), 2);
}

}  // namespace
