# Empty dependencies file for rkfcore.
# This may be replaced when dependencies are built.
