#!/usr/bin/env bash
# Lab hook: the PKI is kept on purpose (cached client data refers to it);
# remove the run directory's pki/ folder to start afresh.
exit 0
