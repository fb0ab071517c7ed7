#include <gtest/gtest.h>

#include "scheme_fixture.h"
#include "ui/numbers.h"

namespace vk41 {
namespace {

class ProcessTick : public testing::SchemeTest {
  protected:
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) scheme().fireTimer(c("Часы1"));
    }
    double volume() { return textToNumber(c("Value").caption()); }
    std::string status() { return driver.app().form("ModB_Frm").control("Status_Lab").caption(); }
    void light(const char* led) {
        c(led).setFillColor(rgb(0xFF0000));
        c(led).setBorderColor(rgb(0xFF0000));
    }
    bool sparksAtStart() {
        bool all = c("Spark3").visible() && c("Spark4").visible() && c("Spark6").visible();
        for (int i = 53; i <= 58; ++i) all = all && c("Строка19", i).visible();
        return all;
    }
};

TEST_F(ProcessTick, TheStatusReads497BeforeTheFirstTick) {
    EXPECT_FALSE(driver.app().existing("ModB_Frm"));
    EXPECT_EQ(status(), "497");
    EXPECT_FALSE(driver.app().form("ModB_Frm").visible());
}

TEST_F(ProcessTick, TheFirstTickStartsThePumpWithSparksForOneTick) {
    tick();
    EXPECT_TRUE(asBool(scheme().Pump_On));
    EXPECT_TRUE(sparksAtStart());
    EXPECT_EQ(c("Value").caption(), "15");
    EXPECT_EQ(c("Led_Work").fillColor(), rgb(0xFF0000));
    EXPECT_EQ(c("Led_6").fillColor(), rgb(0xFF0000));
    EXPECT_EQ(c("Stoper").left(), 10200);
    EXPECT_EQ(c("Clear_W").top(), 6600 - 15);
    EXPECT_EQ(c("Pusher").y1(), 3960 - 15);
    EXPECT_TRUE(c("Woter_Flow_1_1").visible());
    EXPECT_TRUE(c("Flame_M").visible());
    EXPECT_EQ(status(), "2");  // output 4 is not lit yet
    tick();
    EXPECT_FALSE(c("Spark3").visible());
    EXPECT_FALSE(c("Строка19", 55).visible());
    EXPECT_EQ(c("Led_Work").fillColor(), rgb(0x808080));
    EXPECT_EQ(c("Value").caption(), "30");
}

TEST_F(ProcessTick, TheFirstTickWithTheValveOpenGainsLess) {
    for (int i = 0; i < 4; ++i) scheme().Hand_Upp_Click();
    tick();
    EXPECT_EQ(c("Value").caption(), "11");
}

TEST_F(ProcessTick, TheFirstFillStopsAtItsOvershootAndHolds) {
    tick(72);
    EXPECT_EQ(c("Value").caption(), "1080");
    EXPECT_TRUE(asBool(scheme().Pump_On));
    tick();  // 1080 >= 1075: stop, with sparks at the upper switch
    EXPECT_FALSE(asBool(scheme().Pump_On));
    EXPECT_TRUE(c("Spark1").visible() && c("Spark2").visible() && c("Spark5").visible());
    EXPECT_TRUE(scheme().Filtr_Flag);
    EXPECT_EQ(c("Value").caption(), "1080");
    const float top = c("Clear_W").top();
    tick(10);
    EXPECT_EQ(c("Value").caption(), "1080");
    EXPECT_EQ(c("Clear_W").top(), top);
    EXPECT_FALSE(c("Spark1").visible());
    EXPECT_EQ(status(), "2");
    EXPECT_EQ(c("Stoper").left(), 9960);
    EXPECT_FALSE(c("Woter_Flow_1_1").visible());
    // The lever has pushed the upper switch's common contact.
    EXPECT_EQ(c("Pusher_Lev").y1(), 3960 - 1080);
    EXPECT_EQ(c("Swich1_Com").y1(), 3960 - 1080);
    EXPECT_EQ(c("Itog").caption(), "5");
    EXPECT_EQ(c("Filtr").fillColor(), rgb(0xF5F5F5));
}

TEST_F(ProcessTick, ExactlyTheLimitsSwitchThePump) {
    scheme().Pump_On = true;
    c("Value").setCaption("1075");
    tick();
    EXPECT_FALSE(asBool(scheme().Pump_On));
    c("Value").setCaption("0");
    tick();
    EXPECT_TRUE(asBool(scheme().Pump_On));
    EXPECT_FALSE(scheme().Filtr_Flag);
}

TEST_F(ProcessTick, AFullValveStillFillsTheTank) {
    for (int i = 0; i < 10; ++i) scheme().Hand_Upp_Click();
    tick(215);
    EXPECT_EQ(c("Value").caption(), "1075");
    EXPECT_TRUE(c("Woter_Flow_2_2").visible());
    EXPECT_EQ(c("Ost_Dwn").fillColor(), rgb(0xD8FFFF));
    tick();
    EXPECT_FALSE(asBool(scheme().Pump_On));
    EXPECT_EQ(c("Value").caption(), "1065");
    EXPECT_EQ(c("Itog").caption(), "5");
    EXPECT_EQ(c("Filtr").fillColor(), rgb(0xE5E5E5));
}

TEST_F(ProcessTick, WithOutput4LitTheRelaysCloseAndTheStatusIsOne) {
    light("Led_4");
    tick();
    EXPECT_EQ(status(), "1");
    EXPECT_EQ(c("Строка20", 36).x2(), c("Строка20", 37).x2());
    EXPECT_EQ(c("Строка20", 74).x1(), c("Строка20", 73).x2());
    c("Led_4").setFillColor(rgb(0x808080));
    tick();
    EXPECT_EQ(status(), "2");
    EXPECT_EQ(c("Строка20", 36).x2(), c("Строка19", 4).x1());
    EXPECT_EQ(c("Строка20", 74).x1(), c("Строка19", 67).x1());
}

TEST_F(ProcessTick, AnAccidentDrainsTheTankDryAndFreezesIt) {
    tick(20);  // volume 300
    light("Led_5");
    scheme().Pump_On = false;
    for (int i = 0; i < 10; ++i) scheme().Hand_Upp_Click();
    tick(30);  // 300 down to 0: no restart under the accident
    EXPECT_EQ(c("Value").caption(), "0");
    EXPECT_FALSE(asBool(scheme().Pump_On));
    EXPECT_EQ(c("Pusher").y1(), 3960);  // the lever rests on the lower switch
    tick(47);                           // the surface reaches 7070
    EXPECT_FALSE(scheme().Tank_Dry);
    EXPECT_EQ(status(), "2");
    tick();  // 7080: written dry on the next tick
    EXPECT_EQ(c("Clear_W").top(), 7080);
    tick();
    EXPECT_TRUE(scheme().Tank_Dry);
    EXPECT_EQ(status(), "4");
    EXPECT_FALSE(c("Woter_Flow_2_1").visible());
    for (const char* part : {"Ost_Top", "Top_Part", "Ost_Dwn", "Down_Part"})
        EXPECT_EQ(c(part).fillColor(), kWhite) << part;
    const double before = volume();
    tick(5);
    EXPECT_EQ(c("Clear_W").top(), 7080);
    EXPECT_EQ(volume(), before - 50);
    EXPECT_EQ(status(), "4");
    EXPECT_EQ(c("Pusher").y1(), 3960);
}

TEST_F(ProcessTick, FourHundredTicksOfFillingAndDrawingOff) {
    tick(80);
    for (int i = 0; i < 5; ++i) scheme().Hand_Upp_Click();
    tick(320);
    EXPECT_EQ(c("Value").caption(), "1040");
    EXPECT_TRUE(asBool(scheme().Pump_On));
    EXPECT_EQ(c("Itog").caption(), "10");
    EXPECT_EQ(c("Filtr").fillColor(), rgb(0xE7E7E7));
    EXPECT_EQ(c("Clear_W").top(), 5560);
    EXPECT_EQ(c("Swimer").top(), 5560 - c("Swimer").height() / 2);
    EXPECT_EQ(c("Pusher").y2(), c("Swimer").top());
    EXPECT_EQ(c("Clear_W").height(), c("Capacitor").top() + c("Capacitor").height() - 5560);
}

}  // namespace
}  // namespace vk41
