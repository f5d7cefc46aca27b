# Empty compiler generated dependencies file for make_samples.
# This may be replaced when dependencies are built.
