// The study of this build's model; replaced by the generated study.
