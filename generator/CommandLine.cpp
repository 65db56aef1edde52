// Command-line parsing of the generator; filled in by the run driver.
