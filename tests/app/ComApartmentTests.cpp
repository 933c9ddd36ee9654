#include "app/ComApartment.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <thread>

namespace {

// The calling thread's apartment; -1 outside COM.
int Apartment() {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    return SUCCEEDED(::CoGetApartmentType(&type, &qualifier)) ? static_cast<int>(type) : -1;
}

} // namespace

TEST(ComApartment, PutsTheThreadInItsOwnApartmentAndTakesItOutAgain) {
    std::thread([] {
        {
            const CComApartment apartment;
            EXPECT_TRUE(Apartment() == APTTYPE_STA || Apartment() == APTTYPE_MAINSTA);
        }
        EXPECT_EQ(-1, Apartment());
    }).join();
}

TEST(ComApartment, LeavesAThreadOfTheMultithreadedApartmentAsItWas) {
    std::thread([] {
        ASSERT_EQ(S_OK, ::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        {
            const CComApartment apartment;
            EXPECT_EQ(APTTYPE_MTA, Apartment());
        }
        EXPECT_EQ(APTTYPE_MTA, Apartment()) << "the thread's own initialization still holds";
        ::CoUninitialize();
        EXPECT_EQ(-1, Apartment());
    }).join();
}
