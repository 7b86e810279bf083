#include "compiler/arrotonda.h"

#include <gtest/gtest.h>

TEST(ArrotondaTest, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(arrotonda(2.5), 2.0);
  EXPECT_EQ(arrotonda(3.5), 4.0);
  EXPECT_EQ(arrotonda(-2.5), -2.0);
  EXPECT_EQ(arrotonda(-3.5), -4.0);
  EXPECT_EQ(arrotonda(2.4999), 2.0);
  EXPECT_EQ(arrotonda(-0.5), 0.0);
  EXPECT_EQ(arrotonda(0.5000001), 1.0);
}

TEST(ArrotondaTest, IntegerDivisionRoundsLikeTheDouble) {
  for (int64_t p = -500; p <= 500; ++p)
    EXPECT_EQ(static_cast<double>(dividi_arrotonda(p, 50)), arrotonda(p / 50.0)) << p;
  EXPECT_EQ(dividi_arrotonda(1075, 50), 22);
  EXPECT_EQ(dividi_arrotonda(1025, 50), 20);
}

TEST(ArrotondaTest, CellsOfPointFeatures) {
  EXPECT_EQ(cella_di(0, 1), 1);
  EXPECT_EQ(cella_di(1050, 1), 22);
  EXPECT_EQ(cella_di(9100, 1), 183);
  EXPECT_EQ(cella_di(25, 1), 2);
  EXPECT_EQ(cella_di(75, 1), 2);
  EXPECT_EQ(cella_di(125, 1), 4);
}
