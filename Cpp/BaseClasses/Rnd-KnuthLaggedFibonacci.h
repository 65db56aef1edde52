#ifndef RND_KNUTHLAGGEDFIBONACCI_H_
#define RND_KNUTHLAGGEDFIBONACCI_H_

// Knuth's double-precision lagged-Fibonacci generator (The Art of Computer
// Programming, vol. 2, 3rd ed., section 3.6): x[n] = (x[n-KK] + x[n-LL]) mod 1.
// Its state is process-wide.

constexpr int KK = 100;        // the long lag
constexpr int LL = 37;         // the short lag
constexpr int QUALITY = 1009;  // length of ranf_arr_buf

extern double ran_u[KK];              // the generator state
extern double ranf_arr_buf[QUALITY];  // the batch that ranf_arr_cycle fills
extern double ranf_arr_sentinel;      // -1.0: marks "never started"
extern double* ranf_arr_ptr;          // next unread value of ranf_arr_buf

// Fills aa[0..n-1] with the next n values of the stream; n must be at least KK.
void ranf_array(double aa[], int n);
// Restarts the stream from seed; distinct non-negative seeds give distinct
// streams. Afterwards ranf_arr_ptr no longer points at ranf_arr_sentinel.
void ranf_start(long seed);
// Refills ranf_arr_buf (seeding with 314159 first if the stream was never
// started), returns its first value and points ranf_arr_ptr at the second.
// Only the first KK values are served: ranf_arr_buf[KK] is set to -1.
double ranf_arr_cycle();

#endif
