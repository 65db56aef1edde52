#include "Cpp/BaseClasses/Rnd-KnuthLaggedFibonacci.h"

namespace {

constexpr int TT = 70;  // guaranteed separation between streams

// (x + y) mod 1 for x, y in [0, 1).
inline double mod_sum(double x, double y) { return (x + y) - static_cast<int>(x + y); }

// ranf_arr_ptr points here once the stream was started, so that ranf_arr_cycle
// need not seed it again.
double ranf_arr_started = -1.0;

}  // namespace

double ran_u[KK];
double ranf_arr_buf[QUALITY];
double ranf_arr_sentinel = -1.0;
double* ranf_arr_ptr = &ranf_arr_sentinel;

void ranf_array(double aa[], int n) {
  int i;
  int j;
  for (j = 0; j < KK; j++) {
    aa[j] = ran_u[j];
  }
  for (; j < n; j++) {
    aa[j] = mod_sum(aa[j - KK], aa[j - LL]);
  }
  for (i = 0; i < LL; i++, j++) {
    ran_u[i] = mod_sum(aa[j - KK], aa[j - LL]);
  }
  for (; i < KK; i++, j++) {
    ran_u[i] = mod_sum(aa[j - KK], ran_u[i - LL]);
  }
}

void ranf_start(long seed) {
  double u[KK + KK - 1];
  const double ulp = (1.0 / (1L << 30)) / (1L << 22);  // 2^-52
  // In double arithmetic, so that no seed overflows.
  double ss = 2.0 * ulp * (static_cast<double>(seed) + 2.0);
  for (int j = 0; j < KK; j++) {
    u[j] = ss;  // bootstrap the buffer
    ss += ss;
    if (ss >= 1.0) {
      ss -= 1.0 - 2 * ulp;  // cyclic shift of 51 bits
    }
  }
  u[1] += ulp;  // make u[1] (and only u[1]) "odd"
  // The seed's bits are walked through an unsigned copy: a negative seed
  // would otherwise never shift down to 0.
  unsigned long s = static_cast<unsigned long>(seed);
  for (int t = TT - 1; t;) {
    for (int j = KK - 1; j > 0; j--) {  // "square"
      u[j + j] = u[j];
      u[j + j - 1] = 0.0;
    }
    for (int j = KK + KK - 2; j >= KK; j--) {
      u[j - (KK - LL)] = mod_sum(u[j - (KK - LL)], u[j]);
      u[j - KK] = mod_sum(u[j - KK], u[j]);
    }
    if (s & 1) {  // "multiply by z"
      for (int j = KK; j > 0; j--) {
        u[j] = u[j - 1];
      }
      u[0] = u[KK];  // shift the buffer cyclically
      u[LL] = mod_sum(u[LL], u[KK]);
    }
    if (s) {
      s >>= 1;
    } else {
      t--;
    }
  }
  int j;
  for (j = 0; j < LL; j++) {
    ran_u[j + KK - LL] = u[j];
  }
  for (; j < KK; j++) {
    ran_u[j - LL] = u[j];
  }
  for (j = 0; j < 10; j++) {
    ranf_array(u, KK + KK - 1);  // warm things up
  }
  ranf_arr_ptr = &ranf_arr_started;
}

double ranf_arr_cycle() {
  if (ranf_arr_ptr == &ranf_arr_sentinel) {
    ranf_start(314159L);
  }
  ranf_array(ranf_arr_buf, QUALITY);
  ranf_arr_buf[KK] = -1;
  ranf_arr_ptr = ranf_arr_buf + 1;
  return ranf_arr_buf[0];
}
