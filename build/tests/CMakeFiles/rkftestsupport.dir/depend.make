# Empty dependencies file for rkftestsupport.
# This may be replaced when dependencies are built.
