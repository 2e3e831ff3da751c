// The weighted adjustment against an independent recomputation, its refusals
// and questions, and the edge cases of weights and divisors.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "traverse/rigorous_adjustment.h"
#include "rigorous_fixture.h"
#include "support/case_table.h"

using namespace korvane::formats;
using namespace korvane::traverse;

namespace korvane {
namespace {

using testing_rigorous::FourStationTable;
using testing_rigorous::MakeTable;
using testing_rigorous::Params;

const AskOkCancel kNeverAsked = [](const Message& q) -> bool {
  ADD_FAILURE() << "unexpected question " << q.text;
  return false;
};

traverse::RigorousResult Adjust(const formats::RigorousTable& t, const formats::RigorousParameters& p) {
  traverse::RigorousOutcome out = traverse::AdjustRigorous(t, p, kNeverAsked);
  EXPECT_TRUE(out.ok()) << (out.refusal ? out.refusal->text : "");
  return out.result;
}

// The four-station traverse recomputed from scratch with plain formulas.
struct Expected {
  std::vector<double> x, y, h, vBetaSec;
  double fBetaSec, fx, fy, total, fh;
};

Expected Recompute(double hm, bool project, double m0, double a, double b) {
  const double d2r = 0.017453292;
  const double beta[4] = {180 + 10 / 3600.0, 270 + 5 / 3600.0, 89 + 59 / 60.0 + 50 / 3600.0, 180 + 8 / 3600.0};
  const double s[3] = {200.004, 150.002, 199.995};
  const double iF[3] = {1.5, 1.5, 1.4}, vF[3] = {1.6, 1.5, 1.4};
  const double aF[3] = {0.5, -0.25, 1 / 6.0};  // 0°30', -0°15', 0°10' in degrees
  const double iB[3] = {1.6, 1.5, 1.4}, vB[3] = {1.5, 1.5, 1.4};
  const double aB[3] = {-(0.5 + 10 / 3600.0), 0.25, -1 / 6.0};
  const double xB = 1000, yB = 1200, hB = 101, xC = 850, yC = 1600, hC = 102.584;
  // Approximate heights along the forward levelling, the last row included.
  double h0[5] = {hB};
  for (int i = 0; i < 4; ++i) {
    const double dh = i < 3 ? s[i] * std::tan(aF[i] * d2r) + iF[i] - vF[i] : 0;
    h0[i + 1] = h0[i] + dh;
  }
  if (hm == 0) hm = std::round((h0[0] + h0[1] + h0[2] + h0[3]) / 4 * 1000) / 1000;
  double sp[3];
  for (int i = 0; i < 3; ++i) {
    const double corr = project ? -((h0[i] + h0[i + 1] + 2.9) / 2 - hm) * s[i] / 6371.27 : 0;
    sp[i] = s[i] + corr / 1000;
  }
  const double around[5] = {200, sp[0], sp[1], sp[2], 200};
  double w[4], sumW = 0;
  for (int i = 0; i < 4; ++i) sumW += w[i] = std::fabs(around[i + 1] - around[i]) / std::sqrt(beta[i] / 2);
  double sum = 0;
  for (double v : beta) sum += v;
  // Start azimuth A->B is 90, closing azimuth C->D is 90.
  double fBeta = std::fmod(90 + sum - 4 * 180, 360.0) - 90;
  Expected e;
  e.fBetaSec = fBeta * 3600;
  double az = 90, dx[3], dy[3], sx = 0, sy = 0;
  double adj[4];
  for (int i = 0; i < 4; ++i) adj[i] = beta[i] - fBeta * w[i] / sumW;
  for (int i = 0; i < 4; ++i) e.vBetaSec.push_back(-fBeta * w[i] / sumW * 3600);
  for (int i = 0; i < 3; ++i) {
    az = std::fmod(az + 180 + adj[i], 360.0);
    dx[i] = sp[i] * std::cos(az * d2r);
    dy[i] = sp[i] * std::sin(az * d2r);
    sx += dx[i];
    sy += dy[i];
  }
  e.fx = sx - (xC - xB);
  e.fy = sy - (yC - yB);
  double q[3], sumQ = 0;
  for (int i = 0; i < 3; ++i) sumQ += q[i] = m0 != 0 ? std::pow(a + b * sp[i] / 1000, 2) / (m0 * m0) : sp[i];
  e.x = {xB};
  e.y = {yB};
  for (int i = 0; i < 3; ++i) {
    e.x.push_back(e.x.back() + (dx[i] - q[i] * e.fx / sumQ));
    e.y.push_back(e.y.back() + (dy[i] - q[i] * e.fy / sumQ));
  }
  double sa[3], hmean[3];
  e.total = 0;
  for (int i = 0; i < 3; ++i) {
    sa[i] = std::hypot(e.x[i + 1] - e.x[i], e.y[i + 1] - e.y[i]);
    e.total += sa[i];
    const double f = std::tan(aF[i] * d2r) * sa[i] + iF[i] - vF[i];
    const double bk = std::tan(aB[i] * d2r) * sa[i] + iB[i] - vB[i];
    hmean[i] = (f - bk) / 2;
  }
  e.fh = hmean[0] + hmean[1] + hmean[2] + hB - hC;
  e.h = {hB};
  for (int i = 0; i < 3; ++i) e.h.push_back(e.h.back() + hmean[i] - sa[i] * e.fh / e.total);
  return e;
}

void ExpectMatches(const traverse::RigorousResult& r, const Expected& e) {
  ASSERT_EQ(r.n, 4);
  EXPECT_NEAR(r.fBetaSeconds, e.fBetaSec, 0.051);
  EXPECT_NEAR(r.fxMm, e.fx * 1000, 0.051);
  EXPECT_NEAR(r.fyMm, e.fy * 1000, 0.051);
  EXPECT_NEAR(r.fhMm, e.fh * 1000, 0.051);
  EXPECT_NEAR(r.totalLength, e.total, 0.0006);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(r.x[i], e.x[i], 1e-6) << i;
    EXPECT_NEAR(r.y[i], e.y[i], 1e-6) << i;
    EXPECT_NEAR(r.h[i], e.h[i], 1e-6) << i;
    EXPECT_NEAR(r.vBetaSeconds(i), e.vBetaSec[i], 0.051) << i;
  }
}

TEST(RigorousAdjustment, MatchesAnIndependentRecomputation) {
  const formats::RigorousTable t = FourStationTable();
  // Projection on the survey-area mean, distance-meter weights.
  ExpectMatches(Adjust(t, Params("0", "5", "5", "5")), Recompute(0, true, 5, 5, 5));
  // Projection on a given height, length weights.
  ExpectMatches(Adjust(t, Params("250", "", "", "")), Recompute(250, true, 0, 0, 0));
  // No projection.
  ExpectMatches(Adjust(t, Params("N", "2", "3", "2")), Recompute(0, false, 2, 3, 2));
  ExpectMatches(Adjust(t, Params("n", "2", "3", "2")), Recompute(0, false, 2, 3, 2));
}

TEST(RigorousAdjustment, AdjustedTraverseClosesOnTheEndPoint) {
  const traverse::RigorousResult r = Adjust(FourStationTable(), Params("0", "5", "5", "5"));
  EXPECT_NEAR(r.x[3], 850, 1e-9);
  EXPECT_NEAR(r.y[3], 1600, 1e-9);
  EXPECT_NEAR(r.h[3], 102.584, 1e-9);
  // The angle corrections cancel the misclosure of +13".
  EXPECT_DOUBLE_EQ(r.fBetaSeconds, 13.0);
  double sum = 0;
  for (int i = 0; i < r.n; ++i) sum += r.vBetaDegrees(i);
  EXPECT_NEAR(sum * 3600, -13.0, 1e-9);
  // The reported figures hold the rounding steps.
  EXPECT_EQ(r.adjustedBeta(0), std::round(r.adjustedBeta(0) * 10000) / 10000);
  EXPECT_EQ(r.relativeClosure, "1 / " + std::to_string(static_cast<long long>(std::floor(r.totalLengthRaw / r.fs))));
  EXPECT_EQ(r.meanSide, std::round(r.totalLengthRaw / 3 * 1000) / 1000);
}

TEST(RigorousAdjustment, ProjectionSettings) {
  const formats::RigorousTable t = FourStationTable();
  const traverse::RigorousResult none = Adjust(t, Params("N", "5", "5", "5"));
  EXPECT_TRUE(none.projectionOff);
  for (double c : none.projectionMm) EXPECT_EQ(c, 0.0);
  EXPECT_DOUBLE_EQ(none.reducedLength[0], 200.004);
  // "N" reads as 0, so the height used is the survey-area mean.
  EXPECT_DOUBLE_EQ(none.projectionHeight, none.meanHeight);

  const traverse::RigorousResult mean = Adjust(t, Params("0", "5", "5", "5"));
  EXPECT_FALSE(mean.projectionOff);
  EXPECT_DOUBLE_EQ(mean.projectionHeight, mean.meanHeight);
  // The mean of the approximate heights B, P1, P2, C (forward levelling).
  EXPECT_NEAR(mean.meanHeight, (101 + 102.645 + 101.991 + 102.573) / 4, 0.001);

  const traverse::RigorousResult high = Adjust(t, Params("1000", "5", "5", "5"));
  EXPECT_DOUBLE_EQ(high.projectionHeight, 1000.0);
  EXPECT_GT(high.projectionMm[0], 20.0);  // raising the surface lengthens the sides
  // A box filled with the mean-height caption reads as 0.
  const traverse::RigorousResult caption = Adjust(t, Params("测区平均高程", "5", "5", "5"));
  EXPECT_DOUBLE_EQ(caption.projectionHeight, caption.meanHeight);
}

TEST(RigorousAdjustment, CoordinateWeights) {
  const formats::RigorousTable t = FourStationTable();
  const traverse::RigorousResult lengths = Adjust(t, Params("N", "0", "5", "5"));
  for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(lengths.coordinateWeight(i), lengths.reducedLength[i]);
  // With m0 the weights follow the distance-meter model (a + b S)^2 / m0^2.
  const traverse::RigorousResult model = Adjust(t, Params("N", "4", "5", "5"));
  EXPECT_NEAR(model.coordinateWeight(1), std::pow(5 + 5 * 150.002 * 0.001, 2) / 16, 1e-12);
  // The corrections are proportional to the weights.
  EXPECT_NEAR(model.vx(0) / model.vx(1), model.coordinateWeight(0) / model.coordinateWeight(1), 1e-9);
}

TEST(RigorousAdjustment, AngleWeights) {
  const formats::RigorousTable t = FourStationTable();
  const traverse::RigorousResult r = Adjust(t, Params("N", "5", "5", "5"));
  // Station 1: sides A-B (200 m) and B-P1 (200.004 m).
  EXPECT_NEAR(r.angleWeight(0), 0.004 / std::sqrt((180 + 10 / 3600.0) / 2), 1e-12);
  // Two equal sides meeting at a station give it weight 0 and no correction.
  formats::RigorousTable equal = t;
  equal.at(4, 3) = "200";
  const traverse::RigorousResult e = Adjust(equal, Params("N", "5", "5", "5"));
  EXPECT_EQ(e.angleWeight(0), 0.0);
  EXPECT_EQ(e.vBetaDegrees(0), 0.0);
  EXPECT_NE(e.vBetaDegrees(1), 0.0);
}

TEST(RigorousAdjustment, RightAngleIsTakenAsTheLeftAngle) {
  formats::RigorousTable t = FourStationTable();
  const traverse::RigorousResult left = Adjust(t, Params("N", "5", "5", "5"));
  t.at(5, 2) = "-89.5955";  // 360 - 270°00'05"
  const traverse::RigorousResult right = Adjust(t, Params("N", "5", "5", "5"));
  EXPECT_NEAR(right.betaDegrees[1], left.betaDegrees[1], 1e-9);
  EXPECT_NEAR(right.x[2], left.x[2], 1e-6);
  // -0 is the same as 0.
  t.at(5, 2) = "-0";
  formats::RigorousTable zero = t;
  zero.at(5, 2) = "0";
  const AskOkCancel ok = [](const Message&) { return true; };
  EXPECT_EQ(traverse::AdjustRigorous(t, Params("N", "5", "5", "5"), ok).result.betaDegrees[1],
            traverse::AdjustRigorous(zero, Params("N", "5", "5", "5"), ok).result.betaDegrees[1]);
}

TEST(RigorousAdjustment, AngularMisclosureNearAFullTurnIsSmall) {
  // The closing azimuth computed as 359.5° past the known 0° one: the
  // misclosure is -0.5°, which is under 1° and asks nothing.
  const formats::RigorousTable t = MakeTable({"A", "0", "0", "0"}, {"B", "100", "0", "0"},
                                    {{"B", "180", "100", "0", "0", "0", "0", "0", "0"},
                                     {"C", "179.3", "0", "0", "0", "0", "0", "0", "0"}},
                                    {"C", "200", "0", "0"}, {"D", "300", "0", "0"});
  const AskOkCancel ok = [](const Message&) { return true; };
  int asked = 0;
  const AskOkCancel counting = [&](const Message& q) {
    ++asked;
    return q == traverse::LinearMisclosureQuestion();
  };
  const traverse::RigorousOutcome out = traverse::AdjustRigorous(t, Params("N", "0", "0", "0"), counting);
  ASSERT_TRUE(out.ok());
  EXPECT_EQ(asked, 0);
  EXPECT_NEAR(out.result.fBetaDegrees, -0.5, 1e-7);
  EXPECT_DOUBLE_EQ(out.result.fBetaSeconds, -1800.0);
  // And the other way round: +0.5° from an azimuth just under a full turn.
  formats::RigorousTable other = t;
  other.at(5, 2) = "180.3";
  other.at(other.connectRow(), 2) = "300";
  other.at(other.connectRow(), 3) = "-0.000001";
  const traverse::RigorousOutcome o2 = traverse::AdjustRigorous(other, Params("N", "0", "0", "0"), ok);
  ASSERT_TRUE(o2.ok());
  EXPECT_NEAR(o2.result.fBetaDegrees, 0.5, 1e-6);
}

TEST(RigorousAdjustment, GrossMisclosuresAskBeforeContinuing) {
  formats::RigorousTable t = FourStationTable();
  t.at(5, 2) = "271.3";  // 1°30' too much
  std::vector<Message> asked;
  const AskOkCancel cancel = [&](const Message& q) {
    asked.push_back(q);
    return false;
  };
  traverse::RigorousOutcome out = traverse::AdjustRigorous(t, Params("N", "5", "5", "5"), cancel);
  ASSERT_FALSE(out.ok());
  EXPECT_EQ(*out.refusal, (Message{"角度闭合差已超过1度，要继续计算吗？", "警告", MessageIcon::Warning}));
  ASSERT_EQ(asked.size(), 1u);
  // No callback at all is a refusal too.
  EXPECT_FALSE(traverse::AdjustRigorous(t, Params("N", "5", "5", "5"), nullptr).ok());

  // Continuing corrects the angles by their weights.
  asked.clear();
  const AskOkCancel ok = [&](const Message& q) {
    asked.push_back(q);
    return true;
  };
  out = traverse::AdjustRigorous(t, Params("N", "5", "5", "5"), ok);
  ASSERT_TRUE(out.ok());
  ASSERT_GE(asked.size(), 1u);
  EXPECT_EQ(asked[0], traverse::AngularMisclosureQuestion());
  EXPECT_NEAR(out.result.fBetaSeconds, 5408.0, 0.05);

  // A distance 3 m too long asks the linear question.
  formats::RigorousTable longSide = FourStationTable();
  longSide.at(5, 3) = "153.002";
  asked.clear();
  out = traverse::AdjustRigorous(longSide, Params("N", "5", "5", "5"), cancel);
  ASSERT_FALSE(out.ok());
  EXPECT_EQ(*out.refusal, (Message{"边长闭合差已超过1.5米，要继续计算吗？", "警告", MessageIcon::Warning}));
  out = traverse::AdjustRigorous(longSide, Params("N", "5", "5", "5"), ok);
  ASSERT_TRUE(out.ok());
  EXPECT_NEAR(out.result.fsMm, 3000, 20);
}

TEST(RigorousAdjustment, RefusesUnusableTables) {
  const formats::RigorousParameters p = Params("N", "5", "5", "5");
  for (const korvane::testing::DataRow& row : korvane::testing::ReadDataTable("rigorous_grid_refusals.txt", '|')) {
    SCOPED_TRACE("rigorous_grid_refusals.txt line " + std::to_string(row.line));
    formats::RigorousTable t = FourStationTable();
    formats::ResizeStations(t, std::stoi(row["stations"]));
    for (const korvane::testing::TypedCell& cell : korvane::testing::ReadTypedCells(row["typed"]))
      t.at(cell.row, cell.column) = cell.text;
    const traverse::RigorousOutcome out = traverse::AdjustRigorous(t, p, kNeverAsked);
    if (row["message"].empty()) {
      EXPECT_TRUE(out.ok()) << out.refusal->text;
      continue;
    }
    ASSERT_FALSE(out.ok());
    EXPECT_EQ(*out.refusal, (Message{row["message"], row["title"], MessageIcon::Information}));
  }
}

TEST(RigorousAdjustment, OneWaySidesUseTheCurvatureTerm) {
  formats::RigorousTable t = FourStationTable();
  for (int c = 7; c <= 9; ++c) t.at(5, c) = "0";
  const traverse::RigorousResult r = Adjust(t, Params("N", "5", "5", "5"));
  EXPECT_TRUE(r.oneWay[1]);
  EXPECT_FALSE(r.oneWay[0]);
  const double sa = r.adjustedLength(1);
  const double forward = std::tan(-0.25 * 0.017453292) * sa;
  EXPECT_NEAR(r.hMean[1], 0.86 * sa * sa / (2 * 6371000.0) + forward, 1e-12);
  EXPECT_DOUBLE_EQ(r.hBack[1], 0.0);
  EXPECT_NEAR(r.h[3], 102.584, 1e-9);
}

TEST(RigorousAdjustment, TwoStationsDivideByOneSide) {
  const formats::RigorousTable t = MakeTable({"A", "0", "0", "50"}, {"B", "100", "0", "50"},
                                    {{"B", "180", "100.010", "1.5", "1.5", "0", "1.5", "1.5", "0"},
                                     {"C", "180", "0", "0", "0", "0", "0", "0", "0"}},
                                    {"C", "200", "0", "50.004"}, {"D", "300", "0", "50"});
  const traverse::RigorousResult r = Adjust(t, Params("N", "0", "0", "0"));
  ASSERT_EQ(r.n, 2);
  EXPECT_DOUBLE_EQ(r.fxMm, 10.0);
  EXPECT_DOUBLE_EQ(r.m, 10.0);   // sqrt(10^2 / 1)
  EXPECT_DOUBLE_EQ(r.ms, 10.0);
  EXPECT_DOUBLE_EQ(r.fhMm, -4.0);
  EXPECT_DOUBLE_EQ(r.vhMm(0), 4.0);
  EXPECT_DOUBLE_EQ(r.mh, 40.0);  // 4 mm over 100 m: 40 mm per km
  EXPECT_DOUBLE_EQ(r.deltaKm, 40.0);
  // 10 mm on 100 m, up to the last bit of the divisions.
  const double closure = std::stod(r.relativeClosure.substr(3));
  EXPECT_EQ(r.relativeClosure.substr(0, 4), "1 / ");
  EXPECT_NEAR(closure, 10000, 1);
  EXPECT_EQ(r.relativeCorrection(0).substr(0, 3), "1/ ");
  EXPECT_NEAR(std::stod(r.relativeCorrection(0).substr(3)), 10000, 1);
  EXPECT_EQ(r.weakestSide, "1/" + r.relativeCorrection(0).substr(3));
}

TEST(RigorousAdjustment, ZeroDivisorsGiveDefinedResults) {
  // Equal sides everywhere (sum of angle weights 0), exact distances (fs = 0,
  // no length change), a = b = 0 with m0 given (sum of coordinate weights 0).
  const formats::RigorousTable t = MakeTable({"A", "0", "0", "0"}, {"B", "100", "0", "0"},
                                    {{"B", "180", "100", "0", "0", "0", "0", "0", "0"},
                                     {"P", "180.001", "100", "0", "0", "0", "0", "0", "0"},
                                     {"C", "180", "0", "0", "0", "0", "0", "0", "0"}},
                                    {"C", "300", "0", "0"}, {"D", "400", "0", "0"});
  const traverse::RigorousResult r = Adjust(t, Params("N", "5", "0", "0"));
  for (int i = 0; i < r.n; ++i) EXPECT_EQ(r.angleWeight(i), 0.0);
  for (int i = 0; i < r.n; ++i) EXPECT_EQ(r.vBetaDegrees(i), 0.0);
  EXPECT_NEAR(r.fBetaSeconds, 10.0, 1e-9);  // left undistributed
  for (int i = 0; i + 1 < r.n; ++i) EXPECT_EQ(r.vx(i), 0.0);
  EXPECT_TRUE(std::isfinite(r.x[2]) && std::isfinite(r.y[2]));
  EXPECT_EQ(r.ellipseX(0), 5.0);
  // An exact first side: no ratio text, and it never is the weakest side.
  EXPECT_EQ(r.relativeCorrection(0), "");
  EXPECT_EQ(r.weakestSide.substr(0, 2), "1/");

  // A traverse without any misclosure: no relative closure text.
  const formats::RigorousTable exact = MakeTable({"A", "0", "0", "0"}, {"B", "100", "0", "0"},
                                        {{"B", "180", "100", "0", "0", "0", "0", "0", "0"},
                                         {"C", "180", "0", "0", "0", "0", "0", "0", "0"}},
                                        {"C", "200", "0", "0"}, {"D", "300", "0", "0"});
  const traverse::RigorousResult e = Adjust(exact, Params("N", "0", "0", "0"));
  EXPECT_EQ(e.relativeClosure, "");
  EXPECT_EQ(e.relativeCorrection(0), "");
  EXPECT_EQ(e.weakestSide, "1/100000000");
  EXPECT_DOUBLE_EQ(e.ellipseX(0), 5.0);
  EXPECT_DOUBLE_EQ(e.ellipseY(0), 5.0);
  EXPECT_DOUBLE_EQ(e.ellipseRadius(0), std::sqrt(50.0));

  // An angle of 0 has no weight instead of an infinite one.
  formats::RigorousTable zeroAngle = exact;
  zeroAngle.at(4, 2) = "0";
  const AskOkCancel ok = [](const Message&) { return true; };
  const traverse::RigorousOutcome z = traverse::AdjustRigorous(zeroAngle, Params("N", "0", "0", "0"), ok);
  ASSERT_TRUE(z.ok());
  EXPECT_EQ(z.result.angleWeight(0), 0.0);
  EXPECT_TRUE(std::isfinite(z.result.x[1]));
}

}  // namespace
}  // namespace korvane
