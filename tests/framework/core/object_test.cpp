#include "framework/Delegate.hpp"
#include "framework/Exceptions.hpp"
#include "framework/Object.hpp"
#include "framework/Runtime.hpp"

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

class Counter : public fw::Object {
public:
    static const fw::ClassTable& Lookup() {
        static const fw::ClassTable table = fw::MakeClassTable<Counter>("Zoo.Counter", &fw::Object::Lookup());
        return table;
    }
    const fw::ClassTable& classTable() const override { return Lookup(); }
    void Bump(int by) { runs += by; }
    static inline int runs = 0;
};

// Once the target is gone a weak delegate runs nothing, and through the boundary the program
// goes on.
TEST(DelegateTest, WeakDelegateRunsNothingAfterItsTargetIsGone) {
    auto counter = std::make_shared<Counter>();
    auto bump = fw::RuntimeCreateDelegate(&Counter::Bump, counter, "( by As Integer )", fw::DelegateKind::Weak);
    Counter::runs = 0;
    bump->Invoke(1);
    EXPECT_EQ(Counter::runs, 1);

    counter.reset();
    EXPECT_THROW(bump->Invoke(1), fw::NilObjectException);
    EXPECT_FALSE(fw::CallGuarded([&] { bump->Invoke(1); }));
    EXPECT_EQ(Counter::runs, 1);
}

TEST(DelegateTest, WeakDelegateNeedsATarget) {
    std::shared_ptr<Counter> none;
    EXPECT_THROW(fw::RuntimeCreateDelegate(&Counter::Bump, none, "( by As Integer )", fw::DelegateKind::Weak),
                 fw::NilObjectException);
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
